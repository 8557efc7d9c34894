#!/usr/bin/env python3
"""A farm of loopback HTTP proxies that answer after a fixed latency.

Every endpoint reads one request, waits --latency-ms, answers with the test
page (it holds "engine" and none of the speed test's block words) and closes
the connection, whatever URL was asked for. The endpoints are --ports ports
that the system picks on 127.0.0.1, and the same port numbers on the further
loopback addresses 127.0.0.2 ... 127.0.0.<--addresses> where they are free.

Once every endpoint listens, their list ("address port" lines) is written to
--endpoint-file, with a last line "ready". Runs until killed.
"""
import argparse
import asyncio
import os
import resource
import socket

PAGE = (b"<html><head><title>Corvane test page</title></head>"
        b"<body><p>The search engine is up and running.</p></body></html>")
REPLY = (b"HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n"
         b"Content-Length: " + str(len(PAGE)).encode() + b"\r\n"
         b"Connection: close\r\n\r\n" + PAGE)


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


async def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--ports", type=int, default=400)
    parser.add_argument("--addresses", type=int, default=4)
    parser.add_argument("--latency-ms", type=int, default=200)
    parser.add_argument("--endpoint-file", required=True)
    args = parser.parse_args()
    latency = args.latency_ms / 1000.0

    soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
    resource.setrlimit(resource.RLIMIT_NOFILE, (hard, hard))

    async def serve(reader, writer):
        try:
            await asyncio.wait_for(reader.readuntil(b"\r\n\r\n"), 30)
            await asyncio.sleep(latency)
            writer.write(REPLY)
            await writer.drain()
        except (OSError, asyncio.IncompleteReadError, asyncio.LimitOverrunError,
                asyncio.TimeoutError):
            pass
        finally:
            writer.close()

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

    servers = [await asyncio.start_server(serve, sock=s, backlog=256) for _, _, s in sockets]
    tmp = args.endpoint_file + ".tmp"
    with open(tmp, "w") as f:
        for address, port, _ in sockets:
            f.write("%s %d\n" % (address, port))
        f.write("ready\n")
    os.replace(tmp, args.endpoint_file)
    await asyncio.gather(*(server.serve_forever() for server in servers))


if __name__ == "__main__":
    asyncio.run(main())
