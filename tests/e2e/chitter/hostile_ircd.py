#!/usr/bin/env python3
"""A hostile IRC server for chitter's end-to-end test, on 127.0.0.1:<port>.

Its first client gets, after the welcome, lines no server should send, a
flood of <flood> channel lines as fast as the socket takes them, and then
half a line as the connection drops. Every later client gets a welcome and
a notice, and is held until the server is ended.
"""
import socket
import sys

BAD = [
    b":irc.hostile.test NOTICE Player :nul\0byte",
    b":irc.hostile.test NOTICE Player :lone\rNOTICE Player :after-cr",
    b":irc.hostile.test 999 Player :unknown numeric",
    b":",
    b": NOTICE Player :empty-prefix",
    b":!@ PRIVMSG Player :odd-prefix",
    b":a!b@c!d@e PRIVMSG Player :double-prefix",
    b"PRIVMSG",
    b":x!y@z MODE #flood +ooooo",
    b":x!y@z KICK",
    b":x!y@z NICK",
    b":irc.hostile.test 353 Player = #nowhere :@",
    b":irc.hostile.test NOTICE Player :" + b"\xff\xfe" * 8 + b"bad-utf8",
    b":irc.hostile.test NOTICE Player :" + b"y" * 5000 + b"overlong",
    b":irc.hostile.test NOTICE Player :\x03\x03,,99\x04zz\x02colour-junk",
    b":x!y@z PRIVMSG Player :\x01",
]
AFTER = [
    b":irc.hostile.test 005 Player PREFIX=(ov CHANTYPES= NICKLEN=99999999999 CASEMAPPING=x :x",
    b":irc.hostile.test NOTICE Player :flood-done",
]


def welcome(client):
    client.settimeout(30)
    data = b""
    while b"USER" not in data:
        got = client.recv(4096)
        if not got:
            raise ConnectionError("no registration")
        data += got
    client.sendall(b":irc.hostile.test 001 Player :Welcome\r\n")


def main():
    port, flood = int(sys.argv[1]), int(sys.argv[2])
    server = socket.socket()
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", port))
    server.listen(4)
    held, number = [], 0
    while True:
        client, _ = server.accept()
        try:
            welcome(client)
        except (OSError, ConnectionError):  # not a client: the test looking for the port
            client.close()
            continue
        number += 1
        if number > 1:
            client.sendall(b":irc.hostile.test NOTICE Player :connection %d\r\n" % number)
            held.append(client)
            continue
        lines = BAD + [b":Player!p@h JOIN #flood"]
        lines += [b":u%d!u@h PRIVMSG #flood :line %d" % (i % 50, i) for i in range(flood)]
        client.sendall(b"\r\n".join(lines + AFTER) + b"\r\n:irc.hostile.test PRIVMSG Player :half a li")
        client.close()


if __name__ == "__main__":
    main()
