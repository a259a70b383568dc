#!/usr/bin/env python3
"""A folder of photos whose reads wait: a FUSE file system (fusepy, over libfuse 2) at MOUNT that
serves COUNT copies of PHOTO as read-only regular files, q00.jpg, q01.jpg, ... Every read waits
until the line "release" comes on standard input; from then on every read is answered at once.
A program working on these files is held at a known point, inside its first read of each file,
for as long as a test wants, whatever the machine's speed.

Debian's own python3 runs it: python3-fusepy is installed for that one. Mounting takes /dev/fuse,
and fusermount (fuse3) for a user other than root.

Usage: held_folder.py MOUNT PHOTO COUNT
Prints "ready" once the folder is mounted, "held NAME" the first time a read of NAME waits, and
"released" once the reads go on. Ends when the folder is unmounted.
"""

import errno
import os
import stat
import sys
import threading

from fusepy import FUSE, FuseOSError, Operations


SAYING = threading.Lock()


def say(line):
    # Reads wait in threads of their own: one line at a time, never two run together.
    with SAYING:
        sys.stdout.write(line + "\n")
        sys.stdout.flush()


class HeldFolder(Operations):
    def __init__(self, photo, count):
        with open(photo, "rb") as f:
            self.data = f.read()
        self.names = [f"q{i:02}.jpg" for i in range(count)]
        self.released = threading.Event()
        self.held = set()
        self.mutex = threading.Lock()  # not "lock": that is an operation
        self.time = os.stat(photo).st_mtime

    def init(self, path):
        say("ready")

    def getattr(self, path, fh=None):
        owner = dict(st_uid=os.getuid(), st_gid=os.getgid(), st_atime=self.time, st_mtime=self.time,
                     st_ctime=self.time)
        if path == "/":
            return dict(owner, st_mode=stat.S_IFDIR | 0o555, st_nlink=2)
        if path[1:] in self.names:
            return dict(owner, st_mode=stat.S_IFREG | 0o444, st_nlink=1, st_size=len(self.data))
        raise FuseOSError(errno.ENOENT)

    def readdir(self, path, fh):
        return [".", ".."] + self.names

    def open(self, path, flags):
        if flags & (os.O_WRONLY | os.O_RDWR):
            raise FuseOSError(errno.EROFS)
        return 0

    def read(self, path, size, offset, fh):
        if not self.released.is_set():
            with self.mutex:
                first = path[1:] not in self.held
                self.held.add(path[1:])
            if first:
                say(f"held {path[1:]}")
            self.released.wait()
        return self.data[offset:offset + size]


def release_on_request(folder):
    for line in sys.stdin:
        if line.strip() == "release":
            folder.released.set()
            say("released")
    # The test is gone: nothing waits for it any more.
    folder.released.set()


def main():
    if len(sys.argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    mount, photo, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
    folder = HeldFolder(photo, count)
    threading.Thread(target=release_on_request, args=(folder,), daemon=True).start()
    try:
        FUSE(folder, mount, foreground=True, ro=True, nothreads=False)
    except RuntimeError as error:
        print(f"held_folder.py: cannot mount {mount} ({error}); libfuse says why above", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
