#!/usr/bin/env python3
"""The peers lobbyfind's end-to-end tests and benchmark talk to, on 127.0.0.1 only.
  peers.py map <folder>             a tiny map and base folder for ioq3ded
  peers.py master <port> <silent>   a master: lists the servers whose heartbeat it checked,
                                    and <silent> (a port of 0x5C bytes) that never answers
  peers.py a2s <port> <challenge>   an A2S server, asking a challenge first when <challenge> is 1,
                                    and then sending its players split in two pieces
  peers.py hostile <port>           answers each query with junk, cut replies and a flood
  peers.py fleet <first> <count> <file>   <count> Quake III servers on ports from <first>:
                                    every 10th silent, every 10th+1 slow (0.3 to 0.6 s);
                                    their addresses go to <file>, one a line
Every datagram it sends goes to the address that sent it a query."""
import os, selectors, socket, struct, sys, time, heapq

FF = b'\xff\xff\xff\xff'


def tiny_map(base):
    """A map ioq3ded loads: one plane, node, leaf, shader and model, and a worldspawn."""
    os.makedirs(base + '/tinybase/maps', exist_ok=True)
    ents = b'{\n"classname" "worldspawn"\n}\n{\n"classname" "info_player_deathmatch"\n"origin" "0 0 32"\n}\n\0'
    lumps = [ents, struct.pack('<64sii', b'noshader', 0, 1), struct.pack('<4f', 0, 0, 1, 0),
             struct.pack('<9i', 0, -1, -1, -512, -512, -512, 512, 512, 512),
             struct.pack('<12i', 0, 0, -512, -512, -512, 512, 512, 512, 0, 0, 0, 0), b'', b'',
             struct.pack('<6f4i', -512, -512, -512, 512, 512, 512, 0, 0, 0, 0)] + [b''] * 9
    header, body = b'IBSP' + struct.pack('<i', 46), b''
    for lump in lumps:
        header += struct.pack('<ii', 8 + 17 * 8 + len(body), len(lump))
        body += lump + b'\0' * (-len(lump) % 4)
    with open(base + '/tinybase/maps/tiny.bsp', 'wb') as f:
        f.write(header + body)
    with open(base + '/tinybase/default.cfg', 'w') as f:
        f.write('// tiny\n')
    game = base + '/tinybase/qagamex86_64.so'
    if not os.path.lexists(game):
        os.symlink('/usr/lib/ioquake3/baseq3/qagamex86_64.so', game)


def bound(port):
    s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    s.bind(('127.0.0.1', port))
    return s


def master(port, silent):
    s, listed, checking = bound(port), [], {}
    while True:
        data, peer = s.recvfrom(4096)
        if data.startswith(FF + b'heartbeat'):
            checking[peer] = b'mc%d' % len(checking)
            s.sendto(FF + b'getinfo ' + checking[peer], peer)
        elif data.startswith(FF + b'infoResponse') and peer in checking:
            if b'\\challenge\\' + checking[peer] in data and peer not in listed:
                listed.append(peer)
        elif data.startswith(FF + b'getservers '):
            records = [socket.inet_aton(ip) + struct.pack('>H', p) for ip, p in listed]
            records.append(socket.inet_aton('127.0.0.1') + struct.pack('>H', silent))
            records.append(b'\0' * 6)  # junk: no address, no port
            for at, record in enumerate(records):  # one record a page, EOT on the last
                end = b'\\EOT\0\0\0' if at == len(records) - 1 else b'\\'
                s.sendto(FF + b'getserversResponse\\' + record + end, peer)


def a2s(port, challenge):
    s, token = bound(port), b'\x21\x43\x65\x07'
    info = (FF + b'I\x11' + b'Source Stand-in %d\0' % port + b'de_tiny\0cstrike\0Counter-Strike\0' +
            b'\xf0\x00\x03\x10\x01d' + (b'w' if challenge else b'l') + b'\x01\x01' + b'1.0.0.1\0\0')
    while True:
        data, peer = s.recvfrom(4096)
        asked = data[4:5]
        if asked == b'T':
            if challenge and not data.endswith(token):
                s.sendto(FF + b'A' + token, peer)
            else:
                s.sendto(info, peer)
        elif asked == b'U':
            if data[5:9] != token:
                s.sendto(FF + b'A' + token, peer)
            else:
                players = (FF + b'D\x02' + b'\0Alice\0' + struct.pack('<if', 12, 61.0) +
                           b'\x01Bob\0' + struct.pack('<if', 3, 5.0))
                if not challenge:
                    s.sendto(players, peer)
                    continue
                # As a busy server sends it: split in two (Source's layout, with the
                # pieces' size), the last piece first.
                pieces = [players[:16], players[16:]]
                for n in (1, 0):
                    s.sendto(b'\xfe' + FF[1:] + struct.pack('<iBBH', 0x1234, 2, n, 1248) + pieces[n], peer)


def hostile(port):
    s = bound(port)
    while True:
        data, peer = s.recvfrom(4096)
        # The oversized one first: alone, it makes the server a bad reply.
        replies = [b'\0' * 9000, FF + b'infoResponse\n\\hostname\\Hostile\\mapna',
                   FF + b'statusResponse\n' + b'\\k\\v' * 2000]
        replies += [FF + b'infoResponse\n\\challenge\\spoof\\hostname\\Evil\\mapname\\e'] * 200
        for reply in replies:
            s.sendto(reply, peer)


def fleet(first, count, listing):
    selector, slow, sockets = selectors.DefaultSelector(), [], []
    with open(listing, 'w') as out:
        for n in range(count):
            s = bound(first + n)
            s.setblocking(False)
            selector.register(s, selectors.EVENT_READ, n)
            sockets.append(s)
            out.write('127.0.0.1:%d\n' % (first + n))
    while True:
        wait = max(0, slow[0][0] - time.monotonic()) if slow else None
        for key, _ in selector.select(wait):
            n, s = key.data, key.fileobj
            while True:
                try:
                    data, peer = s.recvfrom(2048)
                except BlockingIOError:
                    break
                if n % 10 == 0 or not data.startswith(FF + b'get'):
                    continue
                words = data[4:].split(b' ')
                challenge = words[1] if len(words) > 1 else b''
                kind = b'statusResponse' if words[0] == b'getstatus' else b'infoResponse'
                reply = (FF + kind + b'\n\\challenge\\' + challenge + b'\\hostname\\Fleet %d' % n +
                         b'\\mapname\\q3dm%d\\clients\\%d\\sv_maxclients\\16\\protocol\\68' % (n % 20, n % 17))
                if kind == b'statusResponse':
                    reply += b'\n' + b''.join(b'%d 50 "player %d"\n' % (i, i) for i in range(n % 17))
                if n % 10 == 1:
                    heapq.heappush(slow, (time.monotonic() + 0.3 + (n % 7) * 0.05, n, reply, peer))
                else:
                    s.sendto(reply, peer)
        while slow and slow[0][0] <= time.monotonic():
            _, n, reply, peer = heapq.heappop(slow)
            sockets[n].sendto(reply, peer)


if __name__ == '__main__':
    command, args = sys.argv[1], sys.argv[2:]
    if command == 'map':
        tiny_map(args[0])
    elif command == 'master':
        master(int(args[0]), int(args[1]))
    elif command == 'a2s':
        a2s(int(args[0]), args[1] == '1')
    elif command == 'hostile':
        hostile(int(args[0]))
    elif command == 'fleet':
        fleet(int(args[0]), int(args[1]), args[2])
