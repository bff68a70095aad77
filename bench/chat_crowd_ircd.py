#!/usr/bin/env python3
"""A crowded channel for chitter's benchmark, on 127.0.0.1:<port>.

The first client that registers is welcomed into #crowd with <users>
members (the NAMES replies as a server sends them); <pause> seconds later
<rate> lines a second come for <seconds> seconds, "<n> ..." from the
members in turn, numbered from 1. Prints "start" as the first goes and
"end" when the last one has, then holds the connection.
"""
import socket
import sys
import time


def registered(client):
    client.settimeout(30)
    data = b""
    while b"USER" not in data:
        got = client.recv(4096)
        if not got:
            return False
        data += got
    return True


def main():
    port, users, rate, seconds, pause = (int(a) for a in sys.argv[1:6])
    server = socket.socket()
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", port))
    server.listen(4)
    while True:
        client, _ = server.accept()
        if registered(client):
            break
        client.close()
    nicks = ["member%04d" % i for i in range(users)]
    lines = [b":irc.crowd.test 001 Player :Welcome", b":Player!p@127.0.0.1 JOIN :#crowd"]
    for i in range(0, users, 30):
        names = " ".join(("@" if n.endswith("0") else "+" if n.endswith("7") else "") + n
                         for n in nicks[i:i + 30])
        lines.append(b":irc.crowd.test 353 Player = #crowd :" + names.encode())
    lines.append(b":irc.crowd.test 366 Player #crowd :End of NAMES list")
    client.sendall(b"\r\n".join(lines) + b"\r\n")
    time.sleep(pause)
    print("start", flush=True)
    start, total, sent = time.time(), rate * seconds, 0
    while sent < total:
        due = min(total, int((time.time() - start) * rate) + 1)
        batch = [b":%s!m@127.0.0.1 PRIVMSG #crowd :%d the match starts at nine, bring your best"
                 b" map and a steady hand" % (nicks[n % users].encode(), n + 1)
                 for n in range(sent, due)]
        client.sendall(b"\r\n".join(batch) + b"\r\n")
        sent = due
        time.sleep(max(0.0, start + sent / rate - time.time()))
    print("end", flush=True)
    client.sendall(b":irc.crowd.test NOTICE Player :crowd-done\r\n")
    time.sleep(3600)


if __name__ == "__main__":
    main()
