"""A SHOUTcast v1 server as stations run it, for the tests: one MP3 source shared by every
listener, each given a burst of the last seconds first, then the live stream.

    shoutcast_v1.py PORT FREQUENCY_HZ [--parent PID]

The stream is at "/;" (SHOUTcast v1 gave browsers its status page at "/", so station
pages ask for "/;"), answered with "ICY 200 OK" and icy- headers; a listener that sends
"Icy-MetaData: 1" gets a StreamTitle block every icy-metaint bytes. The source is a sine
tone encoded by GStreamer at the rate it plays. The server ends with its parent (or PID).
"""
import os
import socketserver
import subprocess
import sys
import threading

from lifetime import end_with_parent

port, frequency = int(sys.argv[1]), int(sys.argv[2])

METAINT = 8192
BURST = 64 * 1024  # what the real servers send a new listener at once
TITLE = f"Sine {frequency} Hz - loopback".encode()
ENCODER = ["gst-launch-1.0", "-q", "audiotestsrc", "wave=sine", f"freq={frequency}",
           "volume=0.5", "!", "audio/x-raw,rate=44100,channels=2", "!", "lamemp3enc",
           "target=bitrate", "bitrate=128", "cbr=true", "!", "fdsink", "fd=1", "sync=true",
           "ts-offset=-4000000000"]

recent = bytearray()  # the last BURST bytes of the source
listeners = []  # one list of pending chunks, and its event, per listener
lock = threading.Condition()


def read_source():
    encoder = subprocess.Popen(ENCODER, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    while True:
        chunk = encoder.stdout.read1(4096)
        if not chunk:
            os._exit(1)
        with lock:
            recent.extend(chunk)
            del recent[:-BURST]
            for pending in listeners:
                pending.append(chunk)
            lock.notify_all()


def metadata_block():
    text = b"StreamTitle='" + TITLE + b"';"
    blocks = (len(text) + 15) // 16
    return bytes([blocks]) + text.ljust(blocks * 16, b"\0")


class Listener(socketserver.StreamRequestHandler):
    def handle(self):
        request = self.rfile.readline(4096).decode("latin-1")
        headers = {}
        while True:
            line = self.rfile.readline(4096).decode("latin-1").strip()
            if not line:
                break
            name, _, value = line.partition(":")
            headers[name.strip().lower()] = value.strip()
        path = request.split(" ")[1] if request.count(" ") >= 2 else "/"
        if path != "/;":
            page = b"<html><body>SHOUTcast D.N.A.S. Status</body></html>"
            self.wfile.write(b"HTTP/1.0 200 OK\r\ncontent-type:text/html\r\ncontent-length:" +
                             str(len(page)).encode() + b"\r\n\r\n" + page)
            return
        metadata = headers.get("icy-metadata") == "1"
        head = ("ICY 200 OK\r\n"
                "icy-notice1:<BR>This stream requires <a href=\"http://www.winamp.com/\">Winamp</a><BR>\r\n"
                "icy-notice2:SHOUTcast Distributed Network Audio Server/Linux v1.9.8<BR>\r\n"
                "icy-name:Zavi Radio test station\r\nicy-genre:Test\r\nicy-url:http://127.0.0.1/\r\n"
                "content-type:audio/mpeg\r\nicy-pub:1\r\nicy-br:128\r\n")
        if metadata:
            head += f"icy-metaint:{METAINT}\r\n"
        self.wfile.write((head + "\r\n").encode("latin-1"))
        pending = []
        with lock:
            pending.append(bytes(recent))
            listeners.append(pending)
        until_metadata = METAINT
        try:
            while True:
                with lock:
                    while not pending:
                        lock.wait()
                    data = b"".join(pending)
                    pending.clear()
                while metadata and len(data) >= until_metadata:
                    self.wfile.write(data[:until_metadata] + metadata_block())
                    data = data[until_metadata:]
                    until_metadata = METAINT
                self.wfile.write(data)
                if metadata:
                    until_metadata -= len(data)
        except OSError:
            pass  # the listener went away
        finally:
            with lock:
                listeners.remove(pending)


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True

    def handle_error(self, request, client_address):
        pass


threading.Thread(target=read_source, daemon=True).start()
end_with_parent()
Server(("127.0.0.1", port), Listener).serve_forever()
