#!/usr/bin/env python3
"""A farm of loopback HTTP proxies that answer after a fixed latency.

Every endpoint reads one request, waits --latency-ms, answers with the test
page (it holds "engine" and none of the speed test's block words) and closes
the connection, whatever URL was asked for. The endpoints are --ports ports
that the system picks on 127.0.0.1, and the same port numbers on the further
loopback addresses 127.0.0.2 ... 127.0.0.<--addresses> where they are free.

Once every endpoint listens, their list ("address port" lines) is written to
--endpoint-file, with a last line "ready". Runs until killed.

The endpoints are shared out among --workers processes, neighbours in the
list to different processes, and each connection costs its process only a
few callbacks: one Python event loop serving hundreds of connections at once
answered them late, most of all on a busy machine, and the bench then
charged the farm's delay to the tests it measures.
"""
import argparse
import asyncio
import os
import resource
import signal
import socket

PAGE = (b"<html><head><title>Corvane test page</title></head>"
        b"<body><p>The search engine is up and running.</p></body></html>")
REPLY = (b"HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n"
         b"Content-Length: " + str(len(PAGE)).encode() + b"\r\n"
         b"Connection: close\r\n\r\n" + PAGE)
# Longest wait for a whole request, and the most of one that is read.
REQUEST_TIMEOUT = 30
REQUEST_LIMIT = 65536


def listening_socket(address, port):
    s = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    try:
        s.bind((address, port))
        s.listen(256)
    except OSError:
        s.close()
        return None
    s.setblocking(False)
    return s


class Endpoint(asyncio.Protocol):
    """One connection: the request head, the latency, the page, the close."""

    def __init__(self, loop, latency):
        self.loop = loop
        self.latency = latency
        self.transport = None
        self.data = b""
        self.timer = None

    def connection_made(self, transport):
        self.transport = transport
        self.timer = self.loop.call_later(REQUEST_TIMEOUT, transport.close)

    def data_received(self, data):
        if self.data is None:
            return  # the request is in; the rest is not read
        self.data += data
        if b"\r\n\r\n" in self.data:
            self.data = None
            self.timer.cancel()
            self.timer = self.loop.call_later(self.latency, self.answer)
        elif len(self.data) > REQUEST_LIMIT:
            self.transport.close()

    def answer(self):
        self.transport.write(REPLY)
        self.transport.close()  # after the buffered reply has gone

    def connection_lost(self, exc):
        if self.timer is not None:
            self.timer.cancel()


def end_with_parent():
    """A child ends when the parent does, however the parent was ended."""
    try:
        import ctypes
        ctypes.CDLL(None).prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG
    except (OSError, AttributeError):
        pass
    signal.signal(signal.SIGTERM, signal.SIG_DFL)
    signal.signal(signal.SIGINT, signal.SIG_DFL)


def serve(sockets, latency):
    async def run():
        loop = asyncio.get_running_loop()
        servers = [await loop.create_server(lambda: Endpoint(loop, latency), sock=s, backlog=256)
                   for s in sockets]
        await asyncio.gather(*(server.serve_forever() for server in servers))
    asyncio.run(run())


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--ports", type=int, default=400)
    parser.add_argument("--addresses", type=int, default=4)
    parser.add_argument("--latency-ms", type=int, default=200)
    parser.add_argument("--workers", type=int, default=min(4, os.cpu_count() or 1))
    parser.add_argument("--endpoint-file", required=True)
    args = parser.parse_args()
    latency = args.latency_ms / 1000.0

    soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
    resource.setrlimit(resource.RLIMIT_NOFILE, (hard, hard))

    sockets = []
    for _ in range(args.ports):
        s = listening_socket("127.0.0.1", 0)
        if s is not None:
            sockets.append(("127.0.0.1", s.getsockname()[1], s))
    ports = [port for _, port, _ in sockets]
    for n in range(2, args.addresses + 1):
        address = "127.0.0.%d" % n
        for port in ports:
            s = listening_socket(address, port)
            if s is not None:
                sockets.append((address, port, s))

    workers = max(1, args.workers)
    children = []
    for w in range(workers):
        pid = os.fork()
        if pid == 0:
            end_with_parent()
            mine = [s for i, (_, _, s) in enumerate(sockets) if i % workers == w]
            for i, (_, _, s) in enumerate(sockets):
                if i % workers != w:
                    s.close()
            serve(mine, latency)
            os._exit(0)
        children.append(pid)
    for _, _, s in sockets:
        s.close()

    def stop(signum, frame):
        for pid in children:
            try:
                os.kill(pid, signal.SIGTERM)
            except OSError:
                pass
        os._exit(0)
    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)

    tmp = args.endpoint_file + ".tmp"
    with open(tmp, "w") as f:
        for address, port, _ in sockets:
            f.write("%s %d\n" % (address, port))
        f.write("ready\n")
    os.replace(tmp, args.endpoint_file)
    # Ends with the first child that ends, taking the others with it.
    os.wait()
    stop(None, None)


if __name__ == "__main__":
    main()
