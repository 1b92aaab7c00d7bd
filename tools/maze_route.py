#!/usr/bin/env python3
"""Prints the shortest walk from a level's start to its exit as arrow keys, for golden traces.

Reads the labyrinths from data/level_table.cpp and searches over (cell, heading, key held,
keys taken, doors opened): a key on the wall straight ahead is taken, a closed door straight
ahead opens while a key is held, and the walk ends on the exit cell. Moves: H forward, K turn
left, M turn right. Usage: tools/maze_route.py LEVEL [CHUNK] (CHUNK moves per printed line).
"""
import collections
import pathlib
import re
import sys

TABLE = pathlib.Path(__file__).resolve().parent.parent / 'data' / 'level_table.cpp'
STEPS = [(-1, 0), (0, -1), (1, 0), (0, 1)]  # north, west, south, east


def level(number):
    text = TABLE.read_text()
    mazes = {m.group(1): re.findall(r'"([^"]*)",', m.group(2))
             for m in re.finditer(r'string_view (k\w+)\[\] = \{(.*?)\};', text, re.S)}
    rows = re.findall(r'\{\s*(\d+), "[^"]*",\s*(\d+),\s*(\d+),.*?(k\w+)\}', text)
    size, row, col, name = rows[number - 1]
    return mazes[name], int(row), int(col)


def route(maze, row, col):
    grid = [list(r) for r in maze]
    cell = lambda r, c, opened: '.' if (r, c) in opened else grid[r - 1][c - 1]

    def settle(r, c, h, held, taken, opened):
        dr, dc = STEPS[h]
        ahead = (r + dr, c + dc)
        kind = cell(*ahead, opened)
        if kind == 'c' and ahead not in taken:
            return held or True, taken | {ahead}, opened
        if kind == 'D' and held:
            return False, taken, opened | {ahead}
        return held, taken, opened

    start = (row, col, 0) + settle(row, col, 0, False, frozenset(), frozenset())
    back = {start: None}
    queue = collections.deque([start])
    while queue:
        state = queue.popleft()
        r, c, h, held, taken, opened = state
        if cell(r, c, opened) == 'X':
            moves = []
            while back[state]:
                state, move = back[state]
                moves.append(move)
            return ''.join(reversed(moves))
        for move in 'HKM':
            nr, nc, nh = r, c, h
            if move == 'H':
                dr, dc = STEPS[h]
                kind = cell(r + dr, c + dc, opened)
                if kind == 'c' and (r + dr, c + dc) in taken:
                    kind = '#'
                if kind not in '.X':
                    continue
                nr, nc = r + dr, c + dc
            else:
                nh = (h + (1 if move == 'K' else 3)) % 4
            nxt = (nr, nc, nh) + settle(nr, nc, nh, held, taken, opened)
            if nxt not in back:
                back[nxt] = (state, move)
                queue.append(nxt)
    sys.exit('no way out of level')


if __name__ == '__main__':
    moves = route(*level(int(sys.argv[1])))
    chunk = int(sys.argv[2]) if len(sys.argv) > 2 else len(moves)
    for i in range(0, len(moves), chunk):
        print('moves', moves[i:i + chunk])
