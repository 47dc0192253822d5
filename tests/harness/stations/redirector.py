"""A zeno-style stream link for the tests: every request is answered with a 302 to the
real stream on another host and port, with a token added as such links do.

    redirector.py BIND_HOST PORT TARGET_URL [--parent PID]
"""
import http.server
import secrets
import sys

from lifetime import end_with_parent

host, port, target = sys.argv[1], int(sys.argv[2]), sys.argv[3]


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        self.send_response(302)
        self.send_header("Location", f"{target}?zs={secrets.token_urlsafe(8)}")
        self.send_header("Content-Length", "0")
        self.send_header("Cache-Control", "no-cache")
        self.end_headers()

    def log_message(self, format, *args):
        pass


end_with_parent()
http.server.ThreadingHTTPServer((host, port), Handler).serve_forever()
