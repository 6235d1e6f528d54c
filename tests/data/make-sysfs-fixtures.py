#!/usr/bin/env python3
"""Writes the fixture trees sysfs-desktop/, sysfs-empty/ and mountinfo/.

They stand for machines the tests do not run on: a desktop with display
adapters, monitors, CD-ROM drives and pointing devices, a machine with none,
a mount table with every kind of mount the drive listing must judge, and the
mount table of a container.
Run from this folder; the output is committed.
"""
import os
import shutil


def write(path, content, mode="w"):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, mode) as f:
        f.write(content)


def link(path, target):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    os.symlink(target, path)


def edid(maker, product, name=None):
    """An EDID base block with a valid checksum."""
    block = bytearray(128)
    block[0:8] = bytes([0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0])
    packed = 0
    for letter in maker:
        packed = packed << 5 | (ord(letter) - ord("A") + 1)
    block[8:10] = packed.to_bytes(2, "big")
    block[10:12] = product.to_bytes(2, "little")
    block[18:20] = bytes([1, 4])  # EDID 1.4
    # Descriptor 1: a detailed timing (non-zero pixel clock).
    block[54:56] = (14850).to_bytes(2, "little")
    # Descriptor 2: serial number text, which must not be taken for the name.
    block[72:90] = bytes([0, 0, 0, 0xFF, 0]) + b"ABC123\n".ljust(13, b" ")
    if name is not None:
        block[90:108] = bytes([0, 0, 0, 0xFC, 0]) + (name.encode() + b"\n").ljust(13, b" ")
    block[127] = (256 - sum(block[:127]) % 256) % 256
    return bytes(block)


def desktop(root):
    pci = f"{root}/sys/bus/pci/devices"
    for address, cls, vendor, device in [
        ("0000:00:00.0", "0x060000", "0x8086", "0x1237"),  # host bridge
        ("0000:00:02.0", "0x030000", "0x1af4", "0x1050"),  # VGA, in the hwdb
        ("0000:00:1f.3", "0x040300", "0x8086", "0x2668"),  # audio
        ("0000:01:00.0", "0x030200", "0xabcd", "0xef01"),  # 3D, model unknown
    ]:
        write(f"{pci}/{address}/class", cls + "\n")
        write(f"{pci}/{address}/vendor", vendor + "\n")
        write(f"{pci}/{address}/device", device + "\n")
        alias = f"pci:v0000{vendor[2:].upper()}d0000{device[2:].upper()}sv00000000sd00000000bc{cls[2:4].upper()}sc{cls[4:6].upper()}i00"
        write(f"{pci}/{address}/modalias", alias + "\n")

    drm = f"{root}/sys/class/drm"
    write(f"{drm}/version", "drm 1.1.0 20060810\n")
    write(f"{drm}/card0/dev", "226:0\n")
    connectors = [
        ("card0-HDMI-A-1", "connected", edid("DEL", 0xA0B5, "DELL U2412M")),
        ("card0-DP-1", "connected", edid("DEL", 0xA0B4)),
        ("card0-DP-2", "disconnected", edid("PHL", 0x0932, "PHL 243V7")),
        ("card0-VGA-1", "connected", edid("SAM", 0x0E0F, "SyncMaster")[:127] + b"\x00"),
        ("card1-eDP-1", "connected", edid("AUO", 0x123D, "B140HAN")[:64]),
        ("card1-HDMI-A-2", "connected", b""),
    ]
    for name, status, data in connectors:
        write(f"{drm}/{name}/status", status + "\n")
        write(f"{drm}/{name}/edid", data, "wb")

    block = f"{root}/sys/class/block"
    write(f"{block}/sda/removable", "0\n")
    write(f"{block}/sr0/device/vendor", "HL-DT-ST\n")
    write(f"{block}/sr0/device/model", "DVDRAM GH24NSD1 \n")
    write(f"{block}/sr1/device/vendor", "QEMU    \n")
    write(f"{block}/sr1/device/model", "QEMU DVD-ROM    \n")

    def input_device(number, name, rel="0", key="0", abs_="0", props="0"):
        base = f"{root}/sys/class/input/input{number}"
        write(f"{base}/name", name + "\n")
        write(f"{base}/capabilities/rel", rel + "\n")
        write(f"{base}/capabilities/key", key + "\n")
        write(f"{base}/capabilities/abs", abs_ + "\n")
        write(f"{base}/properties", props + "\n")

    input_device(0, "Power Button", key="10000000000000 0")
    input_device(1, "AT Translated Set 2 keyboard",
                 key="402000000 3803078f800d001 feffffdfffefffff fffffffffffffffe")
    input_device(2, "ImExPS/2 Generic Explorer Mouse", rel="143", key="1f0000 0 0 0 0")
    input_device(3, "SynPS/2 Synaptics TouchPad", key="2420 10000 0 0 0 0",
                 abs_="11000003", props="5")
    input_device(4, "AlpsPS/2 ALPS GlidePoint", key="2420 30000 0 0 0 0", abs_="1000003")
    input_device(5, "ELAN Touchscreen", key="420 0 0 0 0 0", abs_="3", props="2")
    input_device(6, "Wacom Intuos Pen", key="1c03 0 0 0 0 0", abs_="3000003", props="1")
    input_device(7, "QEMU QEMU USB Tablet", rel="100", key="70000 0 0 0 0", abs_="3")
    input_device(10, "Logitech USB Receiver", rel="1943", key="ff0000 0 0 0 0")
    input_device(11, "Logitech USB Receiver", rel="1943", key="ff0000 0 0 0 0")
    input_device(12, "Logitech USB Receiver Consumer Control", rel="1040",
                 key="1 0 0 0 0 0 0 0 0 0 0 0 0 0")
    # Mice without a name: an empty one, and one of blanks only.
    input_device(13, "", rel="143", key="1f0000 0 0 0 0")
    input_device(14, " \t ", rel="143", key="1f0000 0 0 0 0")
    write(f"{root}/sys/class/input/mouse0/dev", "13:32\n")
    write(f"{root}/sys/class/input/event2/dev", "13:66\n")

    write(f"{root}/proc/meminfo",
          "MemTotal:       16303856 kB\nMemFree:         9000000 kB\n"
          "MemAvailable:   12227892 kB\nBuffers:          300000 kB\nCached:          2000000 kB\n")
    write(f"{root}/etc/os-release",
          'PRETTY_NAME="Debian GNU/Linux 12 (bookworm)"\nNAME="Debian GNU/Linux"\nVERSION_ID="12"\n')


def mounts(root):
    write(f"{root}/proc/self/mountinfo", "\n".join([
        "21 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw,errors=remount-ro",
        "22 21 0:5 / /dev rw,nosuid shared:2 - devtmpfs udev rw,size=8112340k",
        "23 21 0:21 / /proc rw,nosuid,nodev,noexec shared:12 - proc proc rw",
        "24 21 8:1 / /boot/efi rw,relatime shared:5 - vfat /dev/sda1 rw,fmask=0077",
        "25 21 0:30 / /tmp rw,nosuid,nodev shared:6 - tmpfs tmpfs rw",
        "26 21 8:2 /srv/export /srv/export-bind rw,relatime shared:1 - ext4 /dev/sda2 rw",
        "27 21 7:0 / /snap/core22/1122 ro,nodev,relatime shared:7 - squashfs /dev/loop0 ro",
        "28 21 253:0 / /var/cache/zram rw,relatime shared:8 - ext4 /dev/zram0 rw",
        "29 21 0:40 / /var/lib/docker/overlay2/4f1e/merged rw,relatime - overlay overlay rw,lowerdir=/a,upperdir=/b,workdir=/c",
        "30 21 8:17 / /media/ann/USB\\040STICK rw,nosuid,nodev,relatime shared:9 - vfat /dev/sdb1 rw",
        "31 21 0:45 /@home /home rw,relatime shared:10 - btrfs /dev/nvme0n1p2 rw,subvol=/@home",
        "32 21 0:45 /@srv /srv/data rw,relatime shared:11 - btrfs /dev/nvme0n1p2 rw,subvol=/@srv",
        "33 21 259:3 / /mnt/Backup\\040Disk rw,relatime shared:13 - ext4 /dev/nvme0n1p3 rw",
        "34 21 0:50 / /mnt/nfs rw,relatime shared:14 - nfs4 server:/export rw,vers=4.2",
        "35 21 1:0 / /mnt/ram rw,relatime shared:15 - ext2 /dev/ram0 rw",
        "36 21 253:1 / /data rw,relatime shared:16 - xfs /dev/mapper/vg-data rw",
        "37 21 0:60 / /var/crypt rw,relatime shared:17 - btrfs /dev/mapper/cryptvol rw",
        "38 21 11:0 / /media/cdrom ro,relatime shared:18 - iso9660 /dev/sr0 ro",
        "this line is not a mount",
    ]) + "\n")
    devices = f"{root}/sys/devices"
    disks = {
        "pci0000:00/ata1/block/sda": ("0", ["sda1", "sda2"]),
        "pci0000:00/usb1/block/sdb": ("1", ["sdb1"]),
        "pci0000:00/nvme/block/nvme0n1": ("0", ["nvme0n1p2", "nvme0n1p3"]),
        "pci0000:00/ata2/block/sr0": ("1", []),
        "virtual/block/loop0": ("0", []),
        "virtual/block/zram0": ("0", []),
        "virtual/block/ram0": ("0", []),
        "virtual/block/dm-1": ("0", []),
        "virtual/block/dm-2": ("0", []),
    }
    for disk, (removable, parts) in disks.items():
        write(f"{devices}/{disk}/removable", removable + "\n")
        link(f"{root}/sys/class/block/{os.path.basename(disk)}", f"../../devices/{disk}")
        for number, part in enumerate(parts, 1):
            write(f"{devices}/{disk}/{part}/partition", f"{number}\n")
            link(f"{root}/sys/class/block/{part}", f"../../devices/{disk}/{part}")
    write(f"{devices}/virtual/block/dm-1/dm/name", "vg-data\n")
    write(f"{devices}/virtual/block/dm-2/dm/name", "cryptvol\n")
    numbers = {
        "8:1": "pci0000:00/ata1/block/sda/sda1", "8:2": "pci0000:00/ata1/block/sda/sda2",
        "8:17": "pci0000:00/usb1/block/sdb/sdb1", "259:2": "pci0000:00/nvme/block/nvme0n1/nvme0n1p2",
        "259:3": "pci0000:00/nvme/block/nvme0n1/nvme0n1p3", "7:0": "virtual/block/loop0",
        "253:0": "virtual/block/zram0", "1:0": "virtual/block/ram0", "253:1": "virtual/block/dm-1",
        "253:2": "virtual/block/dm-2", "11:0": "pci0000:00/ata2/block/sr0",
    }
    for number, target in numbers.items():
        link(f"{root}/sys/dev/block/{number}", f"../../devices/{target}")
    # A drive's mount point is a directory: those of the fixed disks are there.
    mount_points(root, ["boot/efi", "srv/export-bind", "home", "srv/data", "mnt/Backup Disk",
                        "data", "var/crypt"])


def mount_points(root, directories, files=()):
    """Mount points under the tree's root; git keeps a directory by a file in it."""
    for directory in directories:
        write(f"{root}/{directory}/.keep", "")
    for file in files:
        write(f"{root}/{file}", "bind-mounted file\n")


def container_mounts(root):
    """A container: the host's disks reach it only as bind mounts of files and
    directories, never at their own root, and the root is an overlay."""
    write(f"{root}/proc/self/mountinfo", "\n".join([
        "500 450 0:52 / / rw,relatime master:1 - overlay overlay rw,lowerdir=/l,upperdir=/u,workdir=/w",
        "501 500 0:55 / /proc rw,nosuid,nodev,noexec,relatime - proc proc rw",
        "502 500 0:56 / /dev rw,nosuid - tmpfs tmpfs rw,size=65536k,mode=755",
        "510 500 254:1 /var/lib/docker/containers/4f1e/resolv.conf /etc/resolv.conf rw,relatime - ext4 /dev/vda1 rw",
        "511 500 254:1 /var/lib/docker/containers/4f1e/hostname /etc/hostname rw,relatime - ext4 /dev/vda1 rw",
        "512 500 254:1 /var/lib/docker/containers/4f1e/hosts /etc/hosts rw,relatime - ext4 /dev/vda1 rw",
        "513 500 254:1 /home/ann/project /work rw,relatime - ext4 /dev/vda1 rw",
        "514 500 254:16 /cache /var/cache/app rw,relatime - xfs /dev/vdb rw",
        "515 500 254:16 / /data rw,relatime - xfs /dev/vdb rw",
        "516 500 254:32 /settings.json /etc/app/settings.json ro,relatime - ext4 /dev/vdc ro",
    ]) + "\n")
    devices = f"{root}/sys/devices/pci0000:00"
    write(f"{devices}/virtio1/block/vda/removable", "0\n")
    write(f"{devices}/virtio1/block/vda/vda1/partition", "1\n")
    write(f"{devices}/virtio2/block/vdb/removable", "0\n")
    write(f"{devices}/virtio3/block/vdc/removable", "0\n")
    numbers = {"254:1": "virtio1/block/vda/vda1", "254:16": "virtio2/block/vdb",
               "254:32": "virtio3/block/vdc"}
    for number, target in numbers.items():
        link(f"{root}/sys/dev/block/{number}", f"../../devices/pci0000:00/{target}")
    mount_points(root, ["work", "var/cache/app", "data"],
                 ["etc/resolv.conf", "etc/hostname", "etc/hosts", "etc/app/settings.json"])


for tree in ("sysfs-desktop", "sysfs-empty", "mountinfo", "mountinfo-container"):
    shutil.rmtree(tree, ignore_errors=True)
desktop("sysfs-desktop")
write("sysfs-empty/sys/README", "A machine whose sysfs lists no device of the four classes.\n")
mounts("mountinfo")
container_mounts("mountinfo-container")
