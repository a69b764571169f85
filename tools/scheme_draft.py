#!/usr/bin/env python3
"""Lays out a first draft of the single-line scheme of a model exchange file.

    tools/scheme_draft.py MODEL.csv [--page NODE=NAME ...] [--write]

Reads the topology of a model exchange file (CSV variant, UTF-8 with a BOM,
as examples/demo.csv is kept) and writes its #XYNode, #XYBranch and #XYPage
sections: every node with a designation becomes a horizontal busbar, every
other node a point; the boards are stacked from the sources down, each
outgoing chain of branches runs straight down from its busbar to the next
board or to its load, and the object symbols and texts sit on their
branches, texts to the right of the line.

A board named with --page goes onto a subscheme of its own: it is drawn whole
there and as a short busbar, the connector, where its feeder arrives on the
main page. Without --write the sections are printed; with it they replace
those of the file. The draft is meant to be reviewed and touched up by hand.
"""

import argparse
import sys

# Object sections whose rows are branches (KeyBeg, KeyEnd), and their
# symbol's length along the branch in grid steps (picture digits / 4).
BRANCH_SECTIONS = {
    "Branch": 0, "Cable": 1.25, "Wiring": 1.25, "PowerLine": 1.25, "Busway": 1.25,
    "Fuse": 1.75, "Breaker": 1.75, "Switch": 1.75, "Starter": 1.75, "Transf": 3.25,
    "Stabilizer": 2, "Reaktor": 2, "Capacitor": 2.25, "Socket": 2,
}

PITCH = 13          # between neighbouring feeders
GROUP_GAP = 8       # more between the feeders of neighbouring boards
SYMBOL_AT = 2       # a symbol starts this far from its branch's start
SWITCH_LENGTH = 6   # a breaker, fuse, starter or switch branch
LINE_LENGTH = 7     # a cable or wiring branch
TRANSFORMER_LENGTH = 11
LOAD_LENGTH = 4     # from the last point node to a load's symbol
SOURCE_LENGTH = 4   # from a busbar up to its source's symbol
END_OF_PATH = 32767

TEXT_NONE = 0
TEXT_LEFT_ABOVE = 5  # left of the anchor, block above it
TEXT_RIGHT = 8       # right of the anchor, first line just above its level
TEXT_RIGHT_ABOVE = 9  # right of the anchor, block above it
TEXT_ROOM = 10       # steps the texts of a feeder take right of its line


class Model:
    def __init__(self, lines):
        self.node_names = {}   # node number -> designation
        self.branches = {}     # key -> (section, designation, start node, end node)
        self.loads = set()     # branch keys of receivers
        self.sources = set()   # branch keys of sources
        section = None
        for line in lines:
            if line.startswith("#"):
                section = line[1:].split(",")[0]
                continue
            cells = line.split(",")
            if not line.strip():
                continue
            if section == "Node":
                self.node_names[int(cells[1])] = cells[0]
            elif section in BRANCH_SECTIONS:
                key = parse_key(cells[1])
                end = parse_key(cells[2]) // 256
                self.branches[key] = (section, cells[0], key // 256, end)
            elif section == "Consumer" and len(cells) > 27 and cells[27]:
                key = parse_key(cells[27])
                self.loads.add(key)
                self.branches[key] = ("Consumer", cells[0], key // 256, 0)
            elif section == "PowerSupply" and len(cells) > 7 and cells[7]:
                key = parse_key(cells[7])
                self.sources.add(key)
                self.branches[key] = ("PowerSupply", cells[0], key // 256, 0)

    def outgoing(self, node):
        return sorted(k for k, b in self.branches.items()
                      if b[2] == node and k not in self.sources)

    def is_board(self, node):
        return bool(self.node_names.get(node))

    # The chain that starts with branch `key`: the branches down to the next
    # board (then `board` is that board) or down to a load.
    def chain(self, key):
        keys = [key]
        while True:
            end = self.branches[keys[-1]][3]
            if end == 0:
                return keys, 0
            if self.is_board(end):
                return keys, end
            nxt = self.outgoing(end)
            if len(nxt) != 1:
                raise SystemExit(f"node {end}: a point node with {len(nxt)} outgoing branches")
            keys.append(nxt[0])


def parse_key(text):
    if not text:
        return 0
    node, _, slot = text.partition(".")
    return int(node) * 256 + int(slot or 0)


def key_text(key):
    return f"{key // 256}.{key % 256}"


class Draft:
    def __init__(self, model, pages):
        self.model = model
        self.pages = pages  # board node -> page number
        self.nodes = []     # (node, page, x, y, length, text dir, text pos)
        self.drawings = []  # branch rows
        self.placed = {}    # board -> (page, x, y, length, incomer x)

    def branch_length(self, key):
        section = self.model.branches[key][0]
        if section == "Transf":
            return TRANSFORMER_LENGTH
        if section in ("Cable", "Wiring", "PowerLine", "Busway"):
            return LINE_LENGTH
        if section in ("Consumer", "Capacitor", "Socket"):
            return LOAD_LENGTH
        return SWITCH_LENGTH

    # A straight vertical branch from y0 to y1 at x.
    def add_branch(self, key, page, x, y0, y1):
        section = self.model.branches[key][0]
        at_end = key in self.model.loads or key in self.model.sources or \
            self.model.branches[key][3] == 0
        length = abs(y1 - y0)
        if at_end:
            obj_pos = END_OF_PATH
            # The arrow stays on the line, the text goes beside the symbol.
            text_pos = 2
            if y1 > y0:
                text_dx, text_dy, text_dir = 1, length - text_pos + 1, TEXT_RIGHT
            else:
                text_dx, text_dy, text_dir = 1, -(length - text_pos) - 1, TEXT_RIGHT
            if section == "Capacitor":
                text_dx = 2
        elif BRANCH_SECTIONS.get(section, 0) > 0:
            obj_pos, text_pos, text_dx, text_dy, text_dir = SYMBOL_AT, SYMBOL_AT, 1, 0, TEXT_RIGHT
        else:
            obj_pos, text_pos, text_dx, text_dy, text_dir = 0, SYMBOL_AT, 1, 0, TEXT_RIGHT
        self.drawings.append({
            "key": key, "section": section, "vertical": True, "mirror": 1,
            "obj_pos": obj_pos, "text_pos": text_pos, "dx": text_dx, "dy": text_dy,
            "dir": text_dir, "page": page, "path": [y0, x, y1]})

    # The columns of a board: its outgoing chains, each with the width it
    # takes (a load one pitch, a board below it the board's width).
    def board_width(self, board):
        widths = []
        for key in self.model.outgoing(board):
            _, below = self.model.chain(key)
            if below and below not in self.pages and below != board and \
                    self.model.outgoing(below):
                widths.append(self.board_width(below) + GROUP_GAP)
            elif below:
                widths.append(PITCH + GROUP_GAP)
            else:
                widths.append(PITCH)
        return max(sum(widths), PITCH)

    # Places `board` with its busbar at height y, its columns from x on;
    # returns the x of its incoming feeder. A board at the page's left and
    # right edge (`edge`) writes its name inside, over its start, and runs its
    # busbar on under the texts of its last feeder, so that a view of the
    # whole scheme, fitted to the busbars and paths, shows every text.
    def place_board(self, board, page, x, y, edge=False):
        columns = []
        chains = [self.model.chain(k) for k in self.model.outgoing(board)]
        cursor = x
        below_y = y
        for keys, below in chains:
            if below and below not in self.pages and self.model.outgoing(below):
                width = self.board_width(below) + GROUP_GAP
                columns.append((cursor + GROUP_GAP, keys, below, width - GROUP_GAP))
            elif below:
                # A connector to another page stands apart like a board.
                width = PITCH + GROUP_GAP
                columns.append((cursor + GROUP_GAP + PITCH // 2, keys, below, 0))
            else:
                width = PITCH
                columns.append((cursor + PITCH // 2, keys, below, 0))
            cursor += width
            below_y = max(below_y, y + sum(self.branch_length(k) for k in keys
                                             if k not in self.model.loads))
        loads = [c for c in columns if not c[2]]
        longest = max((sum(self.branch_length(k) for k in keys[:-1])
                       for _, keys, _, _ in loads), default=0)
        xs = []
        for left, keys, below, width in columns:
            if below and width:
                child_x = left
                incomer = self.place_board(below, page, child_x, below_y)
                self.draw_chain(keys, page, incomer, y, below_y)
                xs.append(incomer)
            elif below:
                xs.append(left)
                self.draw_chain(keys, page, left, y, below_y)
                self.place_connector(below, page, left, below_y)
            else:
                xs.append(left)
                self.draw_load_chain(keys, page, left, y, y + longest)
        first, last = min(xs), max(xs)
        # The feeder arrives between the first two columns.
        incomer = (xs[0] + xs[1]) // 2 if len(xs) > 1 else xs[0]
        start = first - 3
        end = last + (TEXT_ROOM if edge else 3)
        text_dir = TEXT_RIGHT_ABOVE if edge else TEXT_LEFT_ABOVE
        self.nodes.append((board, page, start, y, end - start, text_dir, 0))
        self.placed[board] = (page, start, y, end - start, incomer)
        return incomer

    # A board of its own page, drawn here as a short busbar under its feeder.
    def place_connector(self, board, page, x, y):
        self.nodes.append((board, page, x - 3, y, 6, TEXT_LEFT_ABOVE, 0))

    # A chain down to a board: the switch and line branches share the height.
    def draw_chain(self, keys, page, x, y0, y1):
        lengths = [self.branch_length(k) for k in keys]
        lengths[-1] += (y1 - y0) - sum(lengths)
        y = y0
        for key, length in zip(keys, lengths):
            self.add_branch(key, page, x, y, y + length)
            if self.model.branches[key][3]:
                self.point(self.model.branches[key][3], page, x, y + length)
            y += length

    # A chain down to a load: the line before the load takes up the slack so
    # that the loads of one board stand in a row.
    def draw_load_chain(self, keys, page, x, y0, load_y):
        lengths = [self.branch_length(k) for k in keys[:-1]]
        slack = (load_y - y0) - sum(lengths)
        lines = [i for i, k in enumerate(keys[:-1])
                 if self.model.branches[k][0] in ("Cable", "Wiring", "PowerLine")]
        if lines:
            lengths[lines[-1]] += slack
        elif lengths:
            lengths[-1] += slack
        y = y0
        for key, length in zip(keys[:-1], lengths):
            self.add_branch(key, page, x, y, y + length)
            self.point(self.model.branches[key][3], page, x, y + length)
            y += length
        self.add_branch(keys[-1], page, x, y, y + LOAD_LENGTH)

    def point(self, node, page, x, y):
        if self.model.is_board(node):
            return
        self.nodes.append((node, page, x, y, 0, TEXT_NONE, 0))


def layout(model, pages):
    draft = Draft(model, pages)
    # The busbars that carry a source form the top row, their sources above
    # them; each feeds, through its transformer, a short busbar (the
    # transformer's low-voltage terminals) that leads to the main board.
    tops = sorted({k // 256 for k in model.sources})
    top_y, x = 9, 4
    chains = {top: [model.chain(k) for k in model.outgoing(top)] for top in tops}
    terminals = [[board for _, board in chains[top] if board] for top in tops]
    mains = set()
    for boards in terminals:
        for board in boards:
            out = model.outgoing(board)
            if len(out) == 1 and model.chain(out[0])[1]:
                mains.add(model.chain(out[0])[1])
    if len(mains) != 1:
        raise SystemExit("expected the sources to feed one main board")
    main = mains.pop()
    flat = [board for boards in terminals for board in boards]
    depth_top = max(sum(draft.branch_length(k) for k in keys)
                    for top in tops for keys, _ in chains[top])
    depth_mid = max(sum(draft.branch_length(k) for k in model.chain(model.outgoing(b)[0])[0])
                    for b in flat)
    mid_y = top_y + depth_top
    main_y = mid_y + depth_mid
    # The main board first: its width decides where everything above stands.
    draft.place_board(main, 1, x, main_y, edge=True)
    _, main_x, _, main_len, _ = draft.placed[main]
    # The transformer sections stand over the main board, evenly spread.
    for top, boards in zip(tops, terminals):
        for board in boards:
            bx = main_x + main_len * (flat.index(board) + 1) // (len(flat) + 1)
            keys, _ = model.chain(model.outgoing(board)[0])
            draft.draw_chain(keys, 1, bx, mid_y, main_y)
            draft.nodes.append((board, 1, bx - 2, mid_y, 4, TEXT_LEFT_ABOVE, 0))
            for keys, below in chains[top]:
                if below == board:
                    draft.draw_chain(keys, 1, bx, top_y, mid_y)
        # The source stands left of the first transformer on its busbar.
        feed_x = main_x + main_len * (flat.index(boards[0]) + 1) // (len(flat) + 1)
        source = min(k for k in model.sources if k // 256 == top)
        sx = feed_x - 6
        draft.add_branch(source, 1, sx, top_y, top_y - SOURCE_LENGTH)
        draft.nodes.append((top, 1, sx - 3, top_y, feed_x + 3 - (sx - 3), TEXT_LEFT_ABOVE, 0))
    # The boards of their own pages, each drawn whole on its page.
    for board, page in pages.items():
        draft.place_board(board, page, x, 6, edge=True)
    return draft


def node_rows(model, draft):
    rows = []
    for node, page, x, y, length, text_dir, text_pos in sorted(draft.nodes, key=lambda n: (n[0], n[1])):
        rows.append(f"{model.node_names.get(node, '')},{node},N,{x},{y},{length},"
                    f"{text_dir},{text_pos},{page}")
    return rows


def branch_rows(model, draft):
    rows = []
    for d in sorted(draft.drawings, key=lambda d: d["key"]):
        name = model.branches[d["key"]][1]
        # A row carries the marking under the branch key, as the export
        # writes it: a receiver's is kept with the receiver, and slot 0 (a
        # source's branch) shares its key with the node's marking.
        if d["key"] in model.loads:
            name = ""
        elif d["key"] in model.sources:
            name = model.node_names.get(d["key"] // 256, "")
        path = ",".join(str(v) for v in d["path"])
        rows.append(f"{name},{key_text(d['key'])},{d['section']},{'Y' if d['vertical'] else 'N'},"
                    f"{d['mirror']},{d['obj_pos']},{d['text_pos']},{d['dx']},{d['dy']},"
                    f"{d['dir']},{d['page']},{len(d['path']) - 2},{path}")
    return rows


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("model")
    parser.add_argument("--page", action="append", default=[],
                        help="NODE=NAME: the board NODE on a page of its own")
    parser.add_argument("--write", action="store_true")
    args = parser.parse_args()
    with open(args.model, encoding="utf-8-sig", newline="") as f:
        text = f.read()
    lines = text.split("\r\n")
    model = Model(lines)
    pages, names = {}, {1: "Главная"}
    for page, item in enumerate(args.page, start=2):
        node, _, name = item.partition("=")
        pages[int(node)] = page
        names[page] = name
    draft = layout(model, pages)
    sections = ["#XYNode,Key,Vertical,X,Y,L,TextDir,TextPos,Page,"] + node_rows(model, draft) + [""]
    sections += ["#XYBranch,Key,ObjType,Vertical,ObjMirror,ObjPos,TextPos,TextDX,TextDY,TextDir,"
                 "Page,Nxy,XY1,XY2,XY3,XY4,XY5,XY6,XY7,XY8,XY9,XYA,XYB,XYC,XYD,XYE,XYF,"]
    sections += branch_rows(model, draft) + [""]
    sections += ["#XYPage,Name,X0,Y0,St,Scale,"]
    for page, name in sorted(names.items()):
        # The page opens at 100 % on its top left corner.
        x0 = min(n[2] for n in draft.nodes if n[1] == page) - 4
        sections.append(f"{page},{name},{x0},0,0,0")
    sections.append("")
    if not args.write:
        sys.stdout.write("\n".join(sections) + "\n")
        return
    start = lines.index(next(l for l in lines if l.startswith("#XYNode")))
    end = lines.index(next(l for l in lines if l.startswith("#Name")))
    lines[start:end] = sections
    with open(args.model, "w", encoding="utf-8-sig", newline="") as f:
        f.write("\r\n".join(lines))


if __name__ == "__main__":
    main()
