"""The station host on loopback: serves a folder and logs each request with its time.

    station_server.py PORT FOLDER LOG

Each request is logged as "EPOCH_MS REQUEST_LINE"; "listening" is logged once it is up.
"""
import functools
import http.server
import sys
import time

port, folder, log_path = int(sys.argv[1]), sys.argv[2], sys.argv[3]
log = open(log_path, "a", buffering=1)


class Handler(http.server.SimpleHTTPRequestHandler):
    def log_request(self, code="-", size="-"):
        log.write(f"{int(time.time() * 1000)} {self.requestline}\n")

    def log_message(self, format, *args):
        pass


server = http.server.ThreadingHTTPServer(
    ("127.0.0.1", port), functools.partial(Handler, directory=folder))
log.write("listening\n")
server.serve_forever()
