#!/usr/bin/env python3
"""Scripted HTTP proxies and the origin of the test page, all on loopback.

Every port has one fixed behaviour, whatever URL a client asks for:

  base+0  origin     a plain web server: the test page for any path;
                     /slow/<ms>/... answers after <ms> milliseconds;
                     /bytes/<n> answers n bytes of BULK_BLOCK repeated, with
                     their CRC-32 in the header X-Body-CRC32
  base+1  slow       the test page after SLOW_MS milliseconds
  base+2  silent     reads the request and never answers
  base+3  block      the test page with a block-page sentence ("Access denied")
  base+4  truncated  announces more bytes than it sends, then closes
  base+5  auth       407 Proxy Authentication Required
  base+6  good       the test page at once
  base+7  partial    of every five connections, the first three get the page
                     after SLOW_MS milliseconds, the last two are never answered
  base+8  nul        the test page with a NUL byte inside
  base+9  status     500 Internal Server Error whose body holds the test text
  base+10 shouting   of every five connections, the first gets the page with
                     "FORBIDDEN" in it, the other four the plain page

The good page holds the word "engine" (the expected text of the tests) and
none of the speed test's block words.

Usage: scripted_proxy.py [--base-port 18210] [--bind 127.0.0.1]
"""
import argparse
import socket
import socketserver
import sys
import threading
import time
import zlib

TEST_PAGE = (b"<html><head><title>Corvane test page</title></head>"
             b"<body><p>The search engine is up and running.</p></body></html>")
BLOCK_PAGE = (b"<html><body><p>The search engine says: Access denied by the "
              b"site policy.</p></body></html>")
SHOUT_PAGE = (b"<html><body><p>The search engine is FORBIDDEN here.</p>"
              b"</body></html>")
NUL_PAGE = b"<html><body><p>The search engine\x00 is up.</p></body></html>"
STATUS_PAGE = b"<html><body><p>Trouble in the engine room.</p></body></html>"
AUTH_PAGE = b"<html><body><p>Authentication required.</p></body></html>"
SLOW_MS = 600
SILENT_HOLD_S = 120

# Byte j of the bulk block is (j * 31 + (j >> 8)) & 0xFF; its length is prime
# so that no power-of-two buffer lines up with it.
BULK_BLOCK = bytes((j * 31 + (j >> 8)) & 0xFF for j in range(65521))

BEHAVIOURS = ["origin", "slow", "silent", "block", "truncated", "auth", "good",
              "partial", "nul", "status", "shouting"]


def send_bulk(send, length):
    block = BULK_BLOCK
    crc = 0
    left = length
    while left > 0:
        crc = zlib.crc32(block[:min(left, len(block))], crc)
        left -= len(block)
    send(b"HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n"
         b"Content-Length: " + str(length).encode() + b"\r\n"
         b"X-Body-CRC32: " + ("%08x" % crc).encode() + b"\r\n"
         b"Connection: close\r\n\r\n")
    left = length
    while left > 0:
        chunk = block[:min(left, len(block))]
        send(chunk)
        left -= len(chunk)


def reply(status, body, extra=b""):
    return (b"HTTP/1.1 " + status + b"\r\nContent-Type: text/html\r\n"
            b"Content-Length: " + str(len(body)).encode() + b"\r\n"
            b"Connection: close\r\n" + extra + b"\r\n" + body)


class Counter:
    def __init__(self):
        self.lock = threading.Lock()
        self.values = {}

    def next(self, key):
        with self.lock:
            n = self.values.get(key, 0)
            self.values[key] = n + 1
            return n


COUNTER = Counter()


class Handler(socketserver.BaseRequestHandler):
    def read_head(self):
        data = b""
        self.request.settimeout(30)
        while b"\r\n\r\n" not in data:
            chunk = self.request.recv(4096)
            if not chunk:
                return None
            data += chunk
            if len(data) > 65536:
                return None
        return data

    def hold(self):
        # Keep the connection open without a word until the client gives up.
        self.request.settimeout(SILENT_HOLD_S)
        try:
            while self.request.recv(4096):
                pass
        except OSError:
            pass

    def handle(self):
        behaviour = self.server.behaviour
        try:
            head = self.read_head()
        except OSError:
            return
        if head is None:
            return
        target = head.split(b"\r\n", 1)[0].split(b" ")
        path = target[1] if len(target) > 1 else b"/"
        send = self.request.sendall
        try:
            if behaviour == "origin" and b"/bytes/" in path:
                digits = path[path.find(b"/bytes/") + 7:].split(b"/", 1)[0]
                send_bulk(send, int(digits) if digits.isdigit() else 0)
            elif behaviour == "origin":
                marker = b"/slow/"
                at = path.find(marker)
                if at >= 0:
                    digits = path[at + len(marker):].split(b"/", 1)[0]
                    if digits.isdigit():
                        time.sleep(int(digits) / 1000.0)
                send(reply(b"200 OK", TEST_PAGE))
            elif behaviour == "slow":
                time.sleep(SLOW_MS / 1000.0)
                send(reply(b"200 OK", TEST_PAGE))
            elif behaviour == "silent":
                self.hold()
            elif behaviour == "block":
                send(reply(b"200 OK", BLOCK_PAGE))
            elif behaviour == "truncated":
                body = TEST_PAGE[: len(TEST_PAGE) // 2]
                send(b"HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n"
                     b"Content-Length: " + str(len(TEST_PAGE)).encode() +
                     b"\r\nConnection: close\r\n\r\n" + body)
            elif behaviour == "auth":
                send(reply(b"407 Proxy Authentication Required", AUTH_PAGE,
                           b'Proxy-Authenticate: Basic realm="scripted"\r\n'))
            elif behaviour == "good":
                send(reply(b"200 OK", TEST_PAGE))
            elif behaviour == "partial":
                if COUNTER.next(behaviour) % 5 >= 3:
                    self.hold()
                else:
                    time.sleep(SLOW_MS / 1000.0)
                    send(reply(b"200 OK", TEST_PAGE))
            elif behaviour == "nul":
                send(reply(b"200 OK", NUL_PAGE))
            elif behaviour == "status":
                send(reply(b"500 Internal Server Error", STATUS_PAGE))
            elif behaviour == "shouting":
                if COUNTER.next(behaviour) % 5 == 0:
                    send(reply(b"200 OK", SHOUT_PAGE))
                else:
                    send(reply(b"200 OK", TEST_PAGE))
        except OSError:
            pass


class Server(socketserver.ThreadingTCPServer):
    allow_reuse_address = True
    daemon_threads = True
    request_queue_size = 128


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--base-port", type=int, default=18210)
    parser.add_argument("--bind", default="127.0.0.1")
    args = parser.parse_args()
    if not args.bind.startswith("127."):
        sys.exit("scripted_proxy: loopback addresses only")
    servers = []
    for offset, behaviour in enumerate(BEHAVIOURS):
        server = Server((args.bind, args.base_port + offset), Handler)
        server.behaviour = behaviour
        servers.append(server)
        threading.Thread(target=server.serve_forever, daemon=True).start()
    print("scripted_proxy: ports %d-%d" % (args.base_port,
                                           args.base_port + len(BEHAVIOURS) - 1),
          flush=True)
    try:
        while True:
            time.sleep(3600)
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
