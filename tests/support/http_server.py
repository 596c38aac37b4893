"""A small HTTP server for the tests of the update check and download, on 127.0.0.1 only, reached
as the proxy, so it answers every host. A request's path picks its reply from routes.json in the
folder given, read at each request (see httpserver.h; a path without one gets a 404 page). Every
reply may be cached and sets a cookie, so a client that keeps either leaves a trace. The port goes
to port.txt, each request's target to requests.log; the server ends when a file named "stop"
appears or after the lifetime given."""

import http.server
import json
import os
import sys
import threading
import time
import urllib.parse

FOLDER = sys.argv[1]
LIFETIME = float(sys.argv[2]) if len(sys.argv) > 2 else 100.0
LOG_LOCK = threading.Lock()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def do_GET(self):
        with LOG_LOCK, open(os.path.join(FOLDER, "requests.log"), "a", encoding="utf-8") as f:
            f.write(self.path + "\n")
        path = urllib.parse.urlsplit(self.path).path
        try:
            with open(os.path.join(FOLDER, "routes.json"), encoding="utf-8") as f:
                route = json.load(f)[path]
            with open(os.path.join(FOLDER, route["file"]), "rb") as f:
                body = f.read()
        except (OSError, ValueError, KeyError):
            route, body = {"status": 404}, b"<html><body>Not Found</body></html>"
        time.sleep(route.get("stall_before", 0))
        self.send_response(route.get("status", 200))
        self.send_header("Cache-Control", "public, max-age=86400")
        self.send_header("Last-Modified", "Mon, 01 Jan 2024 00:00:00 GMT")
        self.send_header("Set-Cookie", "visited=1; path=/; expires=Fri, 01 Jan 2038 00:00:00 GMT")
        length = route.get("length", len(body))
        if length is not None:
            self.send_header("Content-Length", str(length))
        send = route.get("send", len(body))
        if length is None or send < length:
            self.send_header("Connection", "close")
            self.close_connection = True
        self.end_headers()
        try:
            self.wfile.write(body[:send])
            self.wfile.flush()
            time.sleep(route.get("stall_after", 0))
        except OSError:
            pass

    def log_message(self, *args):
        pass


def watch():
    end = time.monotonic() + LIFETIME
    while time.monotonic() < end and not os.path.exists(os.path.join(FOLDER, "stop")):
        time.sleep(0.05)
    os._exit(0)


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)  # daemon threads
with open(os.path.join(FOLDER, "port.tmp"), "w", encoding="utf-8") as f:
    f.write(str(server.server_address[1]))
os.replace(os.path.join(FOLDER, "port.tmp"), os.path.join(FOLDER, "port.txt"))
threading.Thread(target=watch, daemon=True).start()
server.serve_forever()
