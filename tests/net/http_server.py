#!/usr/bin/env python3
"""Loopback HTTP/1.0 server for the networking tests.

Prints its port and process id on the first line of standard output, then serves until it
is killed, or for two minutes at most so that it never outlives a broken test run.
"""
import os
import time
from http.server import BaseHTTPRequestHandler, HTTPServer

LIFETIME_SECONDS = 120
BIG_BODY_BYTES = 100000


class Handler(BaseHTTPRequestHandler):
    def do_GET(self):
        if self.path == "/hello":
            self.reply(200, b"hello")
        elif self.path == "/big":
            self.reply(200, b"x" * BIG_BODY_BYTES)
        elif self.path.startswith("/housecall.php?"):
            # Echo the request line's target and the Host header, so tests see what was asked.
            self.reply(200, (self.path + " " + self.headers.get("Host", "")).encode())
        elif self.path == "/empty":
            self.reply(200, b"")
        else:
            self.send_error(404)

    def do_POST(self):
        length = int(self.headers.get("Content-Length", "0"))
        data = self.rfile.read(length)
        kind = self.headers.get("Content-Type", "none")
        self.reply(200, kind.encode() + b"|" + data)

    def reply(self, code, body):
        self.send_response(code)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def main():
    server = HTTPServer(("127.0.0.1", 0), Handler)
    print(server.server_address[1], os.getpid(), flush=True)
    server.timeout = 0.5
    deadline = time.monotonic() + LIFETIME_SECONDS
    while time.monotonic() < deadline:
        server.handle_request()


if __name__ == "__main__":
    main()
