"""A small HTTP server for the tests of the update check and download, on 127.0.0.1 only. The
program reaches it as its proxy (http_proxy), so it answers every host: a request's path picks
its reply from routes.json in the folder given, read afresh at each request:

  {"/path": {"status": 200, "file": "body-1.bin", "length": 7 or null (no Content-Length),
             "send": bytes of the body sent (then the connection closes),
             "stall_before": seconds before the reply, "stall_after": seconds after the part sent}}

A path without a route gets a 404 page. Every reply may be cached and sets a cookie, so a
client that keeps either leaves a trace. The port goes to port.txt, each request's target to
requests.log; the server ends when a file named "stop" appears or after the lifetime given."""

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
                routes = json.load(f)
        except (OSError, ValueError):
            routes = {}
        route = routes.get(path)
        if route is None:
            route = {"status": 404, "body": "<html><body>Not Found</body></html>"}
        if "file" in route:
            with open(os.path.join(FOLDER, route["file"]), "rb") as f:
                body = f.read()
        else:
            body = route.get("body", "").encode("latin-1")
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

    def do_CONNECT(self):
        self.send_error(405)

    def log_message(self, *args):
        pass


def watch():
    end = time.monotonic() + LIFETIME
    while time.monotonic() < end and not os.path.exists(os.path.join(FOLDER, "stop")):
        time.sleep(0.05)
    os._exit(0)


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
server.daemon_threads = True
with open(os.path.join(FOLDER, "port.tmp"), "w", encoding="utf-8") as f:
    f.write(str(server.server_address[1]))
os.replace(os.path.join(FOLDER, "port.tmp"), os.path.join(FOLDER, "port.txt"))
threading.Thread(target=watch, daemon=True).start()
server.serve_forever()
