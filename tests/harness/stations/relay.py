"""A relay between the listeners and a stream's host, whose open connections can be made to
hang, as after a Wi-Fi change or a NAT time-out: bytes stop, and the sockets stay open.

    relay.py PORT TARGET_HOST TARGET_PORT [--parent PID]

SIGUSR1 freezes every connection open now (new ones pass as usual); they stay frozen,
never closed, until the relay ends.
"""
import signal
import socket
import sys
import threading

from lifetime import end_with_parent

port, target = int(sys.argv[1]), (sys.argv[2], int(sys.argv[3]))
generation = [0]  # connections of an older generation than this are frozen


def pipe(source, sink, born):
    try:
        while True:
            data = source.recv(65536)
            if not data:
                break
            if generation[0] != born:
                threading.Event().wait()  # hang: neither read nor close, ever
            sink.sendall(data)
    except OSError:
        pass
    for end in (source, sink):
        try:
            end.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass


def serve(client):
    try:
        upstream = socket.create_connection(target)
    except OSError:
        client.close()
        return
    born = generation[0]
    threading.Thread(target=pipe, args=(client, upstream, born), daemon=True).start()
    threading.Thread(target=pipe, args=(upstream, client, born), daemon=True).start()


def freeze(*_):
    generation[0] += 1


end_with_parent()
signal.signal(signal.SIGUSR1, freeze)
listener = socket.create_server(("127.0.0.1", port), reuse_port=False)
while True:
    connection, _ = listener.accept()
    serve(connection)
