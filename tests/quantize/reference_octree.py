#!/usr/bin/env python3
"""Octree colour reduction, written independently as a test oracle.

usage: reference_octree.py IN OUT [N]

Reads the 24-bit BMP file IN, reduces it to at most N colours (default 256)
and writes OUT as an 8-bit BMP file (1078-byte headers with a 256-entry colour
table, zero past the palette; rows bottom-up, padded to 4 bytes).

Every step is done the slow, literal way: each trim pass walks the whole
tree, post-order with child slots ascending.
"""

import struct
import sys

NODE_CAP = 100000
NODE_CAP_TARGET = 99000
NO_PRUNABLE_FORK = 999999999


class Tree:
    def __init__(self):
        self.node_count = 0
        self.leaf_count = 0
        self.next_index = 0
        self.trim_threshold = 0
        self.small = {2: 0, 4: 0, 8: 0}
        self.palette = []
        self.cap_events = 0  # insertions after which the node cap acted
        self.root = Node(self, None)


class Node:
    __slots__ = ("tree", "parent", "is_leaf", "children", "pixels", "red", "green", "blue",
                 "index", "child_count", "leaf_child_count")

    def __init__(self, tree, parent):
        self.tree = tree
        self.parent = parent
        self.is_leaf = False
        self.children = [None] * 8
        self.pixels = 0
        self.red = self.green = self.blue = 0
        self.index = 0
        self.child_count = 0
        self.leaf_child_count = 0
        tree.node_count += 1
        if parent is not None:
            parent.child_count += 1

    def destroy(self):
        self.tree.node_count -= 1
        if self.is_leaf:
            self.tree.leaf_count -= 1
        if self.parent is not None:
            self.parent.child_count -= 1
            if self.is_leaf:
                self.parent.leaf_child_count -= 1
        for slot in range(8):
            if self.children[slot] is not None:
                self.children[slot].destroy()
                self.children[slot] = None

    def set_leaf(self):
        self.is_leaf = True
        self.tree.leaf_count += 1
        if self.parent is not None:
            self.parent.leaf_child_count += 1

    def average(self):
        if self.pixels <= 0:
            return (0, 0, 0)
        return (self.red // self.pixels, self.green // self.pixels, self.blue // self.pixels)


def slot_of(red, green, blue, depth):
    bit = 0x80 >> depth
    return (4 if red & bit else 0) + (2 if green & bit else 0) + (1 if blue & bit else 0)


def add_to_node(node, depth, red, green, blue):
    node.pixels += 1
    node.red += red
    node.green += green
    node.blue += blue
    if node.is_leaf:
        return
    slot = slot_of(red, green, blue, depth)
    if node.children[slot] is None:
        node.children[slot] = Node(node.tree, node)
        if depth == 5:
            node.children[slot].set_leaf()
    add_to_node(node.children[slot], depth + 1, red, green, blue)


def accept(node, depth, visit):
    """Post-order, slots ascending; False when a visit asked to stop."""
    for child in node.children:
        if child is not None and not accept(child, depth + 1, visit):
            return False
    return visit(node, depth) is not False


def trim_visit(node, depth):
    if not node.is_leaf and node.pixels <= node.tree.trim_threshold and node.child_count == node.leaf_child_count:
        for slot in range(8):
            if node.children[slot] is not None:
                node.children[slot].destroy()
                node.children[slot] = None
        node.set_leaf()


def add_color(tree, red, green, blue):
    add_to_node(tree.root, 0, red, green, blue)
    if tree.node_count <= NODE_CAP:
        return
    tree.cap_events += 1
    tree.trim_threshold = 1
    while tree.node_count > NODE_CAP_TARGET:
        accept(tree.root, 0, trim_visit)
        tree.trim_threshold += 1


def min_fork_pixels(tree):
    tree.trim_threshold = NO_PRUNABLE_FORK

    def visit(node, depth):
        if not node.is_leaf and node.child_count == node.leaf_child_count and node.pixels < tree.trim_threshold:
            tree.trim_threshold = node.pixels

    accept(tree.root, 0, visit)


def count_small_forks(tree):
    tree.small = {2: 0, 4: 0, 8: 0}

    def visit(node, depth):
        if node.is_leaf:
            return
        for k in (2, 4, 8):
            if node.pixels <= tree.trim_threshold + k:
                tree.small[k] += node.pixels - 1

    accept(tree.root, 0, visit)


def reduce_tree(tree, n):
    tree.trim_threshold = 1
    while n < tree.leaf_count:
        accept(tree.root, 0, trim_visit)
        min_fork_pixels(tree)
        count_small_forks(tree)
        excess = tree.node_count - n
        if excess > tree.small[8]:
            tree.trim_threshold += 8
        elif excess > tree.small[4]:
            tree.trim_threshold += 4
        elif excess > tree.small[2]:
            tree.trim_threshold += 2
    tree.next_index = 0

    def number(node, depth):
        if node.is_leaf:
            node.index = tree.next_index
            tree.next_index += 1

    accept(tree.root, 0, number)


def build_palette(tree):
    tree.next_index = 0
    tree.palette = []

    def entry(node, depth):
        if node.is_leaf:
            tree.palette.append(node.average())
            tree.next_index += 1

    accept(tree.root, 0, entry)
    return tree.palette


def color_index(node, depth, red, green, blue):
    if node.is_leaf:
        return node.index
    child = node.children[slot_of(red, green, blue, depth)]
    return 0 if child is None else color_index(child, depth + 1, red, green, blue)


def read_bmp24(path):
    """Returns (width, height, rows top-down as bytes of blue, green, red)."""
    data = open(path, "rb").read()
    if data[:2] != b"BM":
        raise ValueError("not a BMP file")
    (offset,) = struct.unpack_from("<I", data, 10)
    _, width, height, planes, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    if planes != 1 or bits != 24 or compression != 0:
        raise ValueError("not an uncompressed 24-bit BMP file")
    stride = (width * 3 + 3) // 4 * 4
    rows = [data[offset + i * stride: offset + i * stride + width * 3] for i in range(abs(height))]
    if height > 0:
        rows.reverse()
    return width, abs(height), rows


def write_bmp8(path, width, height, palette, index_rows):
    stride = (width + 3) // 4 * 4
    image_size = stride * height
    out = bytearray(b"BM")
    out += struct.pack("<IHHI", 1078 + image_size, 0, 0, 1078)
    out += struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, image_size, 0, 0, 256, 0)
    for i in range(256):
        red, green, blue = palette[i] if i < len(palette) else (0, 0, 0)
        out += bytes((blue, green, red, 0))
    for row in reversed(index_rows):
        out += bytes(row) + bytes(stride - width)
    open(path, "wb").write(out)


def reduce_colors(width, height, rows, n, stats=None):
    if n < 2 or n > 256:
        raise ValueError("colour count outside 2 to 256")
    tree = Tree()
    for row in rows:
        for x in range(width):
            blue, green, red = row[3 * x], row[3 * x + 1], row[3 * x + 2]
            add_color(tree, red, green, blue)
    if stats is not None:
        stats["cap_events"] = tree.cap_events
    reduce_tree(tree, n)
    palette = build_palette(tree)
    index_rows = []
    for row in rows:
        index_rows.append([color_index(tree.root, 0, row[3 * x + 2], row[3 * x + 1], row[3 * x]) & 0xFF
                           for x in range(width)])
    return palette, index_rows


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    n = int(sys.argv[3]) if len(sys.argv) == 4 else 256
    width, height, rows = read_bmp24(sys.argv[1])
    palette, index_rows = reduce_colors(width, height, rows, n)
    write_bmp8(sys.argv[2], width, height, palette, index_rows)


if __name__ == "__main__":
    main()
