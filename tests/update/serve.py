#!/usr/bin/env python3
"""Static HTTP server for the updater's tests, on 127.0.0.1 only.

Serves --root on a free port and prints the port on the first line of
standard output. --delay makes every block of --block bytes wait that many
seconds (a slow transfer); --stall sends the headers of every file and then
nothing. A hostile server: --endless NAME answers NAME with a body that never
ends (no length given); --redirect NAME=URL answers NAME with a redirect to
URL, in which {port} stands for the server's port. The server ends on its own
after --lifetime seconds.
"""
import argparse
import functools
import http.server
import os
import sys
import threading
import time


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--delay", type=float, default=0.0)
    parser.add_argument("--block", type=int, default=4096)
    parser.add_argument("--stall", action="store_true")
    parser.add_argument("--lifetime", type=float, default=300.0)
    parser.add_argument("--endless", action="append", default=[])
    parser.add_argument("--redirect", action="append", default=[])
    args = parser.parse_args()
    redirects = dict(r.split("=", 1) for r in args.redirect)
    port = []

    class Handler(http.server.SimpleHTTPRequestHandler):
        def log_message(self, fmt, *a):
            sys.stderr.write("serve.py: " + (fmt % a) + "\n")

        def do_GET(self):
            name = self.path.rsplit("/", 1)[-1]
            if name in redirects:
                self.send_response(302)
                self.send_header("Location", redirects[name].replace("{port}", str(port[0])))
                self.send_header("Content-Length", "0")
                self.end_headers()
                return
            if name in args.endless:
                self.send_response(200)
                self.send_header("Content-Type", "application/octet-stream")
                self.end_headers()
                block = bytes(65536)
                try:
                    while True:
                        self.wfile.write(block)
                except OSError:
                    return
            super().do_GET()

        def copyfile(self, source, outputfile):
            if args.stall:
                outputfile.flush()
                time.sleep(args.lifetime)
                return
            while True:
                chunk = source.read(args.block)
                if not chunk:
                    return
                outputfile.write(chunk)
                outputfile.flush()
                if args.delay:
                    time.sleep(args.delay)

    handler = functools.partial(Handler, directory=args.root)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    server.daemon_threads = True
    port.append(server.server_address[1])
    print(server.server_address[1], flush=True)
    # Never outlive a test that forgot to stop the server.
    threading.Timer(args.lifetime, lambda: os._exit(0)).start()
    server.serve_forever()


if __name__ == "__main__":
    main()
