"""The sample station server: two listeners at once each get a live MP3 stream; one that
hangs up is dropped (its encoder ends) without an error, and the other plays on; the
server ends by itself with the process that started it.

    station_server_test.py STATION_DIR PORT
"""
import os
import socket
import subprocess
import sys
import tempfile
import time

here = os.path.dirname(os.path.abspath(__file__))
station_dir, port = sys.argv[1], int(sys.argv[2])
failures = 0


def check(description, ok, detail=""):
    global failures
    print(("ok: " if ok else "FAILED: ") + description + ("" if ok else f" ({detail})"))
    failures += 0 if ok else 1


def listen():
    client = socket.create_connection(("127.0.0.1", port), timeout=5)
    client.sendall(b"GET /listenlive/stream.mp3 HTTP/1.1\r\nHost: station\r\n\r\n")
    return client


def receive(client, count):
    data = b""
    while len(data) < count:
        chunk = client.recv(65536)
        if not chunk:
            break
        data += chunk
    return data


def encoder_pids(server):
    found = subprocess.run(["pgrep", "-P", str(server.pid)], capture_output=True, text=True)
    return found.stdout.split()


def encoders(server):
    return len(encoder_pids(server))


def alive(pid):
    # A zombie runs no more; whether it is reaped is up to whoever inherited it.
    try:
        with open(f"/proc/{pid}/stat") as stat:
            return stat.read().rsplit(")", 1)[1].split()[0] != "Z"
    except FileNotFoundError:
        return False


def is_mp3(body):
    # MPEG-1 layer III frames start with an 11-bit sync word.
    return len(body) > 2 and body[0] == 0xFF and (body[1] & 0xE0) == 0xE0


with tempfile.TemporaryDirectory() as work:
    log = os.path.join(work, "requests.log")
    # A parent of its own, which the test can end, for the server to outlive or not.
    keeper = subprocess.Popen(["sleep", "60"])
    server = subprocess.Popen([sys.executable, os.path.join(here, "station_server.py"), str(port),
                               station_dir, log, "--parent", str(keeper.pid)],
                              stderr=subprocess.PIPE)
    for _ in range(100):
        if os.path.exists(log) and "listening" in open(log).read():
            break
        time.sleep(0.05)

    first, second = listen(), listen()
    heads = [receive(c, 256) for c in (first, second)]
    for name, head in zip(("first", "second"), heads):
        header, _, body = head.partition(b"\r\n\r\n")
        check(f"the {name} listener is answered as a live MP3 stream",
              header.startswith(b"HTTP/1.0 200") and b"audio/mpeg" in header
              and b"Content-Length" not in header, header[:200])
        check(f"the {name} listener's stream starts with an MP3 frame", is_mp3(body), body[:4])
    started_encoders = encoder_pids(server)  # this server's, not another copy's on the machine
    check("each listener has an encoder of its own", len(started_encoders) == 2, started_encoders)
    # Two seconds at 128 kbit/s come at once, then the stream runs at its own rate.
    started = time.time()
    both = [receive(c, 96_000) for c in (first, second)]
    elapsed = time.time() - started
    check("both go on receiving audio", all(len(b) >= 96_000 for b in both),
          [len(b) for b in both])
    check("at the rate it plays, not faster", elapsed > 2.5, f"{elapsed:.1f} s")

    first.close()
    for _ in range(40):
        if encoders(server) == 1:
            break
        time.sleep(0.1)
    check("a listener that hangs up is dropped with its encoder", encoders(server) == 1,
          encoders(server))
    check("the other plays on", len(receive(second, 32_000)) >= 32_000)
    second.close()

    keeper.kill()
    keeper.wait()
    try:
        server.wait(timeout=5)
        ended = True
    except subprocess.TimeoutExpired:
        server.kill()
        ended = False
    check("the server ends by itself when its run does", ended)
    errors = server.stderr.read().decode()
    check("no error was printed", errors == "", errors[:300])
    time.sleep(0.5)
    leftover = [pid for pid in started_encoders if alive(pid)]
    check("no encoder is left running", leftover == [], leftover)

print(f"station server: {failures} failed")
sys.exit(1 if failures else 0)
