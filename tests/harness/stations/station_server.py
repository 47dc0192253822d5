"""The station host on loopback: serves a folder and a live stream, and logs each request
with its time.

    station_server.py PORT FOLDER LOG [--parent PID] [--fail-first N]

/listenlive/stream.mp3 is an endless live MP3 stream, as an internet radio station sends
one: a 440 Hz tone encoded at 128 kbit/s by GStreamer as it plays, with no length, for
each listener its own, ended when the listener goes. Each request is logged as
"EPOCH_MS REQUEST_LINE"; "listening" is logged once it is up. With --parent the server
ends by itself when that process is gone (otherwise with its own parent). With
--fail-first N the first N requests for pages are answered "503 Service Unavailable", as a
web host answers while it restarts.
"""
import functools
import http.server
import os
import subprocess
import sys
import threading
import time

port, folder, log_path = int(sys.argv[1]), sys.argv[2], sys.argv[3]
parent = int(sys.argv[sys.argv.index("--parent") + 1]) if "--parent" in sys.argv else os.getppid()
fail_first = [int(sys.argv[sys.argv.index("--fail-first") + 1]) if "--fail-first" in sys.argv else 0]
log = open(log_path, "a", buffering=1)

STREAM_PATH = "/listenlive/stream.mp3"
TONE_HZ = 440
# Sent at the rate it plays, after a first burst of two seconds, as radio servers do, so
# a player can start without waiting for its buffer to fill at that rate.
ENCODER = ["gst-launch-1.0", "-q", "audiotestsrc", "wave=sine", f"freq={TONE_HZ}", "volume=0.5",
           "!", "audio/x-raw,rate=44100,channels=2", "!", "lamemp3enc", "target=bitrate",
           "bitrate=128", "cbr=true", "!", "fdsink", "fd=1", "sync=true",
           "ts-offset=-2000000000"]


encoders = set()  # of the listeners now connected
encoders_lock = threading.Lock()


class Handler(http.server.SimpleHTTPRequestHandler):
    # Live HLS with the types streaming servers send (Python's own map gets .ts wrong).
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".m3u8": "application/vnd.apple.mpegurl", ".ts": "video/mp2t",
                      ".m4s": "video/iso.segment", ".mp4": "video/mp4"}

    def log_request(self, code="-", size="-"):
        log.write(f"{int(time.time() * 1000)} {self.requestline}\n")

    def log_message(self, format, *args):
        pass

    def end_headers(self):
        # A live station is never cached: a stale entry would stall the next listener.
        self.send_header("Cache-Control", "no-store")
        super().end_headers()

    def do_GET(self):
        if self.path.split("?")[0].endswith(".html") and fail_first[0] > 0:
            fail_first[0] -= 1
            return self.send_error(503)
        if self.path.split("?")[0] != STREAM_PATH:
            return super().do_GET()
        self.protocol_version = "HTTP/1.0"
        self.send_response(200)
        self.send_header("Content-Type", "audio/mpeg")
        self.send_header("icy-name", "Zavi Radio sample station")
        self.end_headers()
        encoder = subprocess.Popen(ENCODER, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        with encoders_lock:
            encoders.add(encoder)
        try:
            while True:
                chunk = encoder.stdout.read1(4096)
                if not chunk:
                    break
                self.wfile.write(chunk)
        except (BrokenPipeError, ConnectionResetError):
            pass  # the listener went away: its stream goes with it
        finally:
            encoder.kill()
            encoder.wait()
            with encoders_lock:
                encoders.discard(encoder)
            self.close_connection = True


def watch_parent():
    while True:
        try:
            os.kill(parent, 0)
        except ProcessLookupError:
            # Reaped before the server goes, or they would linger as zombies of whoever
            # inherits them.
            with encoders_lock:
                for encoder in encoders:
                    encoder.kill()
                for encoder in encoders:
                    encoder.wait()
            os._exit(0)
        time.sleep(0.5)


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        pass  # a listener that hangs up is no error


threading.Thread(target=watch_parent, daemon=True).start()
server = Server(("127.0.0.1", port), functools.partial(Handler, directory=folder))
log.write("listening\n")
server.serve_forever()
