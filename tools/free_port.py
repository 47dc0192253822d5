"""Prints a loopback port for the tests' station host, free now together with the nine
after it (the tests' Icecast, SHOUTcast imitation, redirector on 127.0.0.2 and relay take
those), so that a test run never meets another copy of the program or another server.

    free_port.py [PREFERRED]

The preferred port (8765) when it is free, else one found free at random.
"""
import random
import socket
import sys


def free(port):
    for offset in range(10):
        for host in ("127.0.0.1", "127.0.0.2"):
            with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as probe:
                try:
                    probe.bind((host, port + offset))
                except OSError:
                    return False
    return True


preferred = int(sys.argv[1]) if len(sys.argv) > 1 else 8765
candidates = [preferred] + [random.randrange(20000, 40000, 10) for _ in range(200)]
print(next(port for port in candidates if free(port)))
