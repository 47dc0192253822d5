"""A zeno-style stream link for the tests: every request is answered with a 302 to the
real stream on another host and port, with a token added as such links do.

    redirector.py BIND_HOST PORT TARGET_URL [--parent PID]
"""
import http.server
import os
import secrets
import sys
import threading
import time

host, port, target = sys.argv[1], int(sys.argv[2]), sys.argv[3]
parent = int(sys.argv[sys.argv.index("--parent") + 1]) if "--parent" in sys.argv else os.getppid()


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        self.send_response(302)
        self.send_header("Location", f"{target}?zs={secrets.token_urlsafe(8)}")
        self.send_header("Content-Length", "0")
        self.send_header("Cache-Control", "no-cache")
        self.end_headers()

    def log_message(self, format, *args):
        pass


def watch_parent():
    while True:
        try:
            os.kill(parent, 0)
        except ProcessLookupError:
            os._exit(0)
        time.sleep(0.5)


threading.Thread(target=watch_parent, daemon=True).start()
http.server.ThreadingHTTPServer((host, port), Handler).serve_forever()
