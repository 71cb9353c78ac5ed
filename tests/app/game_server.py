#!/usr/bin/env python3
"""Reference server of the game's web service, for the tests.

Listens on 127.0.0.1 on a free port, written to the file given as the first
argument. Every request to /app.php is checked (path, query keys and their
order, values, the form body, its length and the signature); problems are
kept and reported by GET /check. The answers come from what was uploaded
(plus two seeded hiscores) unless a bad answer was asked for:

  GET /control?mode=M[&times=N][&code=C]  the next N requests (default 1) get
      answer M: normal, empty, badtag, badversion, many, forged, padded, oversized,
      rivals1, rivals2, rivals4, ghostbad, close, silent, noreload, flood,
      mutate (a good answer of the command with a few random edits, from a
      generator seeded by seed=S), crowd (a hiscore answer of players=N
      players, each listed again and again over the cells in random order,
      from the generator seeded by seed=S);
      answer=HEX in place of mode answers those bytes as they are; code=HEX
      sets the player code the uploads must carry
  GET /check    "OK" or the problems seen since the last check
  GET /count    the number of /app.php requests so far
  GET /last     the fields of the last upload, one "key=value" a line
  GET /lists?cmd=C  the lists the game holds after the last answer to the
      hiscore command C: for all_hiscores a line "WL COUNT LAST" for each
      cell, world by world (LAST is the name of its last entry, empty for
      none), for level_hiscores one line "COUNT LAST"
  GET /ranking  the players' ranking the game shows for the last
      all_hiscores answer, one "points,name" line per place
"""
import base64
import hashlib
import http.server
import random
import socketserver
import struct
import sys
import threading
import urllib.parse
import zlib

TAG = "GVR2,1.02,"
GET_KEYS = {
    "all_hiscores": ["cmd", "difficulty"],
    "level_hiscores": ["cmd", "difficulty", "level"],
    "ghost": ["cmd", "user", "difficulty", "level"],
    "ghosts": ["cmd", "user", "difficulty", "level"],
}
POST_KEYS = ["cmd", "secure", "code", "difficulty", "level", "time", "ghost"]


def pack_blocks(data, blocks=None, forged_size=None):
    """Block compression: u32 count, then per block u32 size, u32 packed size, zlib data."""
    chunks = [data[i:i + 100000] for i in range(0, len(data), 100000)] or [b""]
    out = struct.pack("<I", blocks if blocks is not None else len(chunks))
    for chunk in chunks:
        packed = zlib.compress(chunk)
        size = forged_size if forged_size is not None else len(chunk)
        out += struct.pack("<II", size, len(packed)) + packed
    return out


def ghost_text(points, **forge):
    numbers, previous = [], (0, 0, 0)
    for p in points:
        numbers += [p[i] - previous[i] for i in range(3)]
        previous = p
    text = ",".join(str(n) for n in numbers).encode("latin-1")
    if not text:
        return ""
    return base64.urlsafe_b64encode(pack_blocks(text, **forge)).decode().rstrip("=") + "@"


def decode_ghost(text):
    """The numbers of a ghost text; None when it does not hold."""
    if not text.endswith("@"):
        return None
    body = text[:-1]
    try:
        raw = base64.urlsafe_b64decode(body + "=" * (-len(body) % 4))
        count, = struct.unpack_from("<I", raw, 0)
        at, plain = 4, b""
        for _ in range(count):
            size, packed = struct.unpack_from("<II", raw, at)
            at += 8
            chunk = zlib.decompress(raw[at:at + packed])
            at += packed
            if len(chunk) != size:
                return None
            plain += chunk
        numbers = [int(n) for n in plain.decode("latin-1").split(",")]
    except Exception:
        return None
    return numbers if at == len(raw) and len(numbers) % 3 == 0 else None


# Cells that hold no map level: their lists take no part in the ranking.
NO_LEVEL = {(1, 1), (1, 3), (3, 1), (3, 3)}
FIRST_PLACE_POINTS = 50


def hiscore_tokens(answer):
    """The tokens of a hiscore answer as the game reads them; None when the
    answer does not hold."""
    text = answer[:-1]
    if text[:4] != "GVR2":
        return None
    tokens = text.split(",")
    return tokens if len(tokens) >= 2 and tokens[1] == "1.02" else None


def cell_index(cell, k):
    """World (k = 0) or level (k = 1) of a cell token: its k-th character (a
    signed byte) minus '0', clamped to 0..4; a missing character gives 0."""
    if len(cell) <= k:
        return 0
    value = ord(cell[k])
    if value >= 128:
        value -= 256
    return min(max(value - ord("0"), 0), 4)


def all_hiscore_lists(answer):
    """The 25 lists [world][level] of names the game fills from an
    all_hiscores answer."""
    lists = [[[] for _ in range(5)] for _ in range(5)]
    tokens = hiscore_tokens(answer) or []
    for i in range(2, len(tokens), 3):
        cell = tokens[i + 1] if i + 1 < len(tokens) else ""
        lists[cell_index(cell, 0)][cell_index(cell, 1)].append(tokens[i])
    return lists


def players_ranking(lists):
    """The players' ranking of the lists, [(points, name)], made as the game
    makes it: entry after entry (cells with a level, world by world, each
    list from its first place) a working list, largest total first, takes
    the name out when listed (its points added to the place's) and puts it
    back at the place the binary search of the totals gives: an equal total
    goes just before the equal entry that the halving meets."""
    names, points, listed = [], [], set()
    for world in range(5):
        for level in range(5):
            if (world, level) in NO_LEVEL:
                continue
            for place, name in enumerate(lists[world][level]):
                total = FIRST_PLACE_POINTS - place
                if name in listed:
                    k = names.index(name)
                    total += points[k]
                    del names[k]
                    del points[k]
                lo, hi, at = 0, len(points), None
                while hi > lo:
                    mid = (lo + hi) // 2
                    if total == points[mid]:
                        at = mid
                        break
                    if total > points[mid]:
                        hi = mid
                    else:
                        lo = mid + 1
                at = lo if at is None else at
                points.insert(at, total)
                names.insert(at, name)
                listed.add(name)
    return list(zip(points, names))


def crowd(rng, players):
    """A hiscore answer of players listed again and again: each record a
    random player in a random cell, with cells that hold no level too."""
    records = []
    for _ in range(players * 8):
        world, level = rng.randrange(5), rng.randrange(5)
        records.append("c%d,%d%d,%d" % (rng.randrange(players), world, level,
                                        rng.randrange(3000, 17900)))
    return TAG + ",".join(records) + "\n"


def sign(text):
    chars = list(text)
    for i in range(0, len(chars), 8):
        chars[i] = chr(ord("A") + (i // 8) % 25)
    return hashlib.md5("".join(chars).encode("latin-1")).hexdigest()


VECTOR_POINTS = [(100, 5, 2000), (103, 5, 1990)]
VECTOR_TEXT = ghost_text(VECTOR_POINTS)
# The good answers the mutate mode starts from, by command.
MUTATION_BASES = {
    "all_hiscores": TAG + "ann,00,5000,ben,34,6100,cid,9,99999\n",
    "level_hiscores": TAG + "ann,5000,ben,6100,cid,-7\n",
    "ghost": TAG + "7100," + VECTOR_TEXT + "\n",
    "ghosts": TAG + "ann,5000,%s,ben,5100,%s,cid,5200,%s\n" % ((VECTOR_TEXT,) * 3),
}


def mutate(text, rng):
    """One to four edits: a byte changed, put in or taken out, a number made
    huge or negative, or a stretch repeated."""
    for _ in range(rng.randint(1, 4)):
        at = rng.randrange(len(text)) if text else 0
        kind = rng.randrange(5)
        if kind == 0 and text:
            text = text[:at] + chr(rng.randrange(256)) + text[at + 1:]
        elif kind == 1:
            text = text[:at] + rng.choice(",0123456789-@\"A") + text[at:]
        elif kind == 2 and text:
            text = text[:at] + text[at + 1:]
        elif kind == 3:
            text = text[:at] + rng.choice(["4294967296", "-2147483649", "99999999999"]) + text[at:]
        else:
            end = min(len(text), at + rng.randint(1, 40))
            text = text[:end] + text[at:end] * rng.randint(1, 200) + text[end:]
    return text


class State:
    def __init__(self):
        self.lock = threading.Lock()
        self.problems = []
        self.count = 0
        self.modes = []
        self.code = None
        self.last = {}
        self.scores = {("0", "00"): [("alice", 5000), ("bob", 6100)]}
        self.ghosts = {}
        self.mutator = random.Random(0)
        self.players = 100
        self.answers = {}  # the last answer to each hiscore command


STATE = State()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, *args):
        pass

    def problem(self, text):
        with STATE.lock:
            STATE.problems.append(text)

    def reply(self, text, status=200):
        if getattr(self, "command_name", "") in ("all_hiscores", "level_hiscores"):
            with STATE.lock:
                STATE.answers[self.command_name] = text
        body = text.encode("latin-1")
        self.send_response(status)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def next_mode(self):
        with STATE.lock:
            STATE.count += 1
            if not STATE.modes:
                return "normal"
            mode, times = STATE.modes[0]
            if times <= 1:
                STATE.modes.pop(0)
            else:
                STATE.modes[0] = (mode, times - 1)
            return mode

    def bad_answer(self, mode):
        """Answers a broken mode; False when the mode is a normal one."""
        if mode == "silent":
            self.connection.settimeout(20)
            try:
                while self.connection.recv(4096):
                    pass
            except OSError:
                pass
            self.close_connection = True
            return True
        if mode == "close":
            self.close_connection = True
            return True
        if mode.startswith("raw:"):
            self.reply(mode[4:])
            return True
        answers = {"empty": "", "badtag": "GVR3,1.02,x\n", "badversion": "GVR2,1.01,x,00,1\n"}
        if mode in answers:
            self.reply(answers[mode])
            return True
        return False

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        if url.path != "/app.php":
            return self.control(url)
        mode = self.next_mode()
        pairs = urllib.parse.parse_qsl(url.query, keep_blank_values=True, encoding="latin-1")
        keys = [k for k, _ in pairs]
        values = dict(pairs)
        cmd = values.get("cmd", "")
        self.command_name = cmd
        if GET_KEYS.get(cmd) != keys:
            self.problem("GET keys %s" % keys)
        if self.headers.get("User-Agent") != "Vandro":
            self.problem("agent %s" % self.headers.get("User-Agent"))
        difficulty, level = values.get("difficulty", ""), values.get("level", "00")
        if difficulty not in ("0", "1", "2"):
            self.problem("difficulty %r" % difficulty)
        if len(level) != 2 or any(c not in "01234" for c in level):
            self.problem("level %r" % level)
        if "user" in values and not values["user"].isdigit():
            self.problem("user %r" % values["user"])
        if self.bad_answer(mode):
            return
        if mode == "mutate":
            with STATE.lock:
                text = mutate(MUTATION_BASES.get(cmd, TAG), STATE.mutator)
            return self.reply(text)
        if mode == "crowd":
            with STATE.lock:
                text = crowd(STATE.mutator, STATE.players)
            return self.reply(text)
        if mode == "many":
            body = "".join("p%d,%d," % (i, 1000 + i) if cmd == "level_hiscores" else
                           "p%d,00,%d," % (i, 1000 + i) for i in range(5000))
            return self.reply(TAG + body.rstrip(",") + "\n")
        if mode == "flood":  # distinct players (over every cell), near the client's reply bound
            cells = ["%d%d" % (w, l) for w in range(5) for l in range(5)]
            records, size = [], 0
            while size < 1000000:
                i = len(records)
                cell = "" if cmd == "level_hiscores" else cells[i % 25] + ","
                records.append("f%d,%s%d" % (i, cell, 1000 + i % 9000))
                size += len(records[-1]) + 1
            return self.reply(TAG + ",".join(records) + "\n")
        if cmd == "all_hiscores":
            records = [f"{n},{lv},{t}" for (d, lv), rows in sorted(STATE.scores.items())
                       if d == difficulty for n, t in rows]
        elif cmd == "level_hiscores":
            records = [f"{n},{t}" for n, t in STATE.scores.get((difficulty, level), [])]
        elif cmd == "ghost":
            if mode == "forged":
                return self.reply(TAG + "7100," + ghost_text(VECTOR_POINTS, blocks=70000) + "\n")
            if mode == "padded":  # few numbers in a long text
                text = ",".join("0" * 5000 + "7" for _ in range(30)).encode()
                packed = base64.urlsafe_b64encode(pack_blocks(text)).decode().rstrip("=")
                return self.reply(TAG + "7100," + packed + "@\n")
            if mode == "oversized":
                return self.reply(TAG + "7100," + ghost_text([(i, 0, i)
                                                              for i in range(1025)]) + "\n")
            time, text = STATE.ghosts.get((difficulty, level), (7100, ghost_text(VECTOR_POINTS)))
            records = [f"{time},{text}"]
        elif cmd == "ghosts":
            rivals = {"rivals1": 1, "rivals2": 2, "rivals4": 4, "ghostbad": 2}.get(mode, 3)
            records = []
            for k in range(rivals):
                points = [(k * 10 + i, 0, 1000 * i) for i in range(1, 3 + k)]
                text = ghost_text(points, forged_size=99999) if mode == "ghostbad" and k == 1 \
                    else ghost_text(points)
                records.append(f"rival{k},{5000 + k * 100},{text}")
        else:
            records = []
        self.reply(TAG + ",".join(records) + "\n")

    def do_POST(self):
        mode = self.next_mode()
        length = int(self.headers.get("Content-Length", "-1"))
        body = self.rfile.read(length).decode("latin-1") if length >= 0 else ""
        if self.rfile.read(2) != b"\r\n":
            self.problem("no CR LF after the body")
        if self.path != "/app.php":
            self.problem("POST path %s" % self.path)
        if self.headers.get("Content-Type") != "application/x-www-form-urlencoded":
            self.problem("content type")
        pairs = urllib.parse.parse_qsl(body, keep_blank_values=True, encoding="latin-1")
        keys = [k for k, _ in pairs]
        f = dict(pairs)
        if keys != POST_KEYS:
            self.problem("POST keys %s" % keys)
        level = f.get("level", "")
        signed = f.get("code", "") + f.get("difficulty", "") + level + f.get("time", "") + \
            f.get("ghost", "")
        if f.get("secure") != sign(signed):
            self.problem("signature")
        if STATE.code is not None and f.get("code") != STATE.code:
            self.problem("code %r" % f.get("code"))
        if f.get("ghost") and decode_ghost(f["ghost"]) is None:
            self.problem("ghost text")
        with STATE.lock:
            STATE.last = f
        if self.bad_answer(mode):
            return
        if mode == "noreload":
            return self.reply("GVR2OK")
        if keys == POST_KEYS and f["time"].lstrip("-").isdigit():
            STATE.ghosts[(f["difficulty"], level)] = (int(f["time"]), f["ghost"])
        self.reply("GVR2YA")

    def control(self, url):
        q = dict(urllib.parse.parse_qsl(url.query, keep_blank_values=True, encoding="latin-1"))
        with STATE.lock:
            if url.path == "/control":
                if "answer" in q:
                    answer = bytes.fromhex(q["answer"]).decode("latin-1")
                    STATE.modes.append(("raw:" + answer, int(q.get("times", "1"))))
                if "seed" in q:
                    STATE.mutator = random.Random(int(q["seed"]))
                if "players" in q:
                    STATE.players = int(q["players"])
                if "mode" in q:
                    STATE.modes.append((q["mode"], int(q.get("times", "1"))))
                if "code" in q:
                    STATE.code = bytes.fromhex(q["code"]).decode("latin-1")
                text = "OK"
            elif url.path == "/check":
                text = "OK" if not STATE.problems else "; ".join(STATE.problems)
                STATE.problems = []
                STATE.modes = []
            elif url.path == "/count":
                text = str(STATE.count)
            elif url.path == "/last":
                text = "".join(f"{k}={v}\n" for k, v in STATE.last.items())
            elif url.path == "/lists":
                text = self.lists(q.get("cmd", "all_hiscores"))
            elif url.path == "/ranking":
                lists = all_hiscore_lists(STATE.answers.get("all_hiscores", ""))
                text = "".join(f"{p},{n}\n" for p, n in players_ranking(lists))
            else:
                text = "?"
        self.reply(text)

    @staticmethod
    def lists(cmd):
        answer = STATE.answers.get(cmd, "")
        if cmd == "level_hiscores":
            names = (hiscore_tokens(answer) or [])[2::2]
            return "%d %s\n" % (len(names), names[-1] if names else "")
        lists = all_hiscore_lists(answer)
        return "".join("%d%d %d %s\n" % (w, l, len(lists[w][l]),
                                          lists[w][l][-1] if lists[w][l] else "")
                       for w in range(5) for l in range(5))


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True


def main():
    server = Server(("127.0.0.1", 0), Handler)
    with open(sys.argv[1] + ".part", "w") as port_file:
        port_file.write(str(server.server_address[1]))
    import os
    os.replace(sys.argv[1] + ".part", sys.argv[1])
    server.serve_forever()


if __name__ == "__main__":
    main()
