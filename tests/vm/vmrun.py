#!/usr/bin/python3
"""Runs the real-drive tests in a virtual machine.

Boots Debian's packaged kernel under qemu-system-x86_64 with an emulated IDE/ATAPI CD-ROM
drive on the PIIX controller, shares the host's root read-only over virtio-9p so the guest
runs the programs just built, and serves the guest's requests to change the medium and
move the tray through QMP. Each boot runs tests/vm/guest.sh with QUILLON_BOOT set to the
boot's name; the run fails when a boot fails, or when QEMU or the kernel cannot be had.

    vmrun.py --source DIR --build DIR [--boots poll,udev]

KVM is used only when a probe boot under it prints the kernel's first console line within
a few seconds: on some machines /dev/kvm opens but a guest never gets past its firmware.
QUILLON_VM_ACCEL=kvm|tcg forces one accelerator. A boot whose console stays silent for a
minute is stopped at once rather than at the end of its time.
"""
import argparse
import json
import os
import queue
import shutil
import socket
import subprocess
import sys
import tempfile
import threading
import time
from pathlib import Path

# The drivers the guest loads, with what depmod says they need.
MODULES = [
    "ata_piix", "sr_mod", "isofs", "udf", "loop", "nls_utf8",
    "virtio_pci", "virtio_console", "9pnet_virtio", "9p",
]

# Each boot: its kernel command line, beside the console and init settings.
BOOTS = {
    # No udev, and the kernel does not poll: the program must poll the drive itself.
    "poll": "block.events_dfl_poll_msecs=0",
    # udevd, a system bus and udisksd run in the guest; the kernel polls every 2 s.
    "udev": "block.events_dfl_poll_msecs=2000",
}

DRIVE_ID = "cd0"
KVM_DEVICE = "/dev/kvm"
REPLY_TIMEOUT = 60
# How long the kernel may take to print its first line under KVM before TCG is used.
PROBE_SECONDS = 10
# How long a boot's console may stay silent before the boot is taken for hung.
SILENCE_SECONDS = 60
# apt-get's downloads: long enough for a slow mirror, short of hanging the suite.
DOWNLOAD_SECONDS = 600


def fail(text):
    print(f"vmrun: {text}", file=sys.stderr, flush=True)
    sys.exit(1)


def need_tools():
    tools = {"qemu-system-x86_64": "qemu-system-x86", "busybox": "busybox-static",
             "depmod": "kmod", "apt-get": "apt", "dpkg-deb": "dpkg"}
    missing = [f"{tool} (package {package})" for tool, package in tools.items() if not shutil.which(tool)]
    if missing:
        fail("cannot run the virtual machine tests, missing: " + ", ".join(missing) +
             "; scripts/setup.sh installs them")


def run(args, timeout=DOWNLOAD_SECONDS, **kwargs):
    try:
        return subprocess.run(args, check=True, text=True, capture_output=True, timeout=timeout,
                              **kwargs).stdout
    except subprocess.TimeoutExpired:
        fail(f"{' '.join(args)} did not finish in {timeout} s")


# --- the kernel --------------------------------------------------------------------------

def kernel_package():
    """The versioned kernel package that the linux-image-amd64 metapackage depends on."""
    for attempt in range(2):
        try:
            text = run(["apt-cache", "depends", "linux-image-amd64"])
        except subprocess.CalledProcessError:
            text = ""
        for line in text.splitlines():
            name = line.strip().removeprefix("Depends:").strip()
            if line.strip().startswith("Depends:") and name.startswith("linux-image-"):
                return name
        if attempt == 0 and os.geteuid() == 0:  # package lists missing or stale
            try:
                subprocess.run(["apt-get", "update", "-qq"], check=False, timeout=DOWNLOAD_SECONDS)
            except subprocess.TimeoutExpired:
                fail(f"apt-get update did not finish in {DOWNLOAD_SECONDS} s")
    fail("cannot resolve linux-image-amd64 to a kernel package (apt-cache depends linux-image-amd64;"
         " run apt-get update)")


def unpacked_kernel(cache):
    """The kernel package unpacked in the cache (downloaded once): its root and version."""
    package = kernel_package()
    root = cache / package
    if not (root / "done").exists():
        print(f"vmrun: fetching {package} into {cache}", flush=True)
        for old in cache.glob("linux-image-*"):  # kernels Debian has since replaced
            shutil.rmtree(old, ignore_errors=True)
        download = Path(tempfile.mkdtemp(dir=cache))
        os.chmod(download, 0o777)  # apt's download user writes there
        try:
            run(["apt-get", "download", package], cwd=download)
            deb = next(download.glob("*.deb"))
            run(["dpkg-deb", "-x", str(deb), str(root)])
        except (subprocess.CalledProcessError, StopIteration) as error:
            fail(f"cannot fetch or unpack {package}: {getattr(error, 'stderr', '') or error}")
        finally:
            shutil.rmtree(download, ignore_errors=True)
        version = next((root / "lib/modules").iterdir()).name
        run(["depmod", "-b", str(root), version])
        (root / "done").write_text(package + "\n")
    version = next((root / "lib/modules").iterdir()).name
    return root, version


def module_order(root, version):
    """The wanted modules and their dependencies, each after what it needs."""
    base = root / "lib/modules" / version
    needs = {}
    for line in (base / "modules.dep").read_text().splitlines():
        path, _, deps = line.partition(":")
        needs[path] = deps.split()
    by_name = {Path(p).name.split(".ko")[0].replace("-", "_"): p for p in needs}
    order = []

    def add(path):
        if path in order:
            return
        for dep in needs[path]:
            add(dep)
        order.append(path)

    for name in MODULES:
        if name not in by_name:
            fail(f"kernel {version} has no module {name}")
        add(by_name[name])
    return [f"lib/modules/{version}/{path}" for path in order]


# --- the initial RAM disk ----------------------------------------------------------------

def cpio_entry(name, mode, data=b""):
    header = "070701" + "".join(f"{value:08x}" for value in (
        0, mode, 0, 0, 1, 0, len(data), 0, 0, 0, 0, len(name) + 1, 0))
    entry = header.encode() + name.encode() + b"\0"
    entry += b"\0" * (-len(entry) % 4) + data
    return entry + b"\0" * (-len(entry) % 4)


def make_initrd(path, kernel_root, modules, init_script):
    """A newc archive: busybox, the init script and the modules, nothing else."""
    dirs, files = set(), {
        "init": (0o100755, init_script.read_bytes()),
        "bin/busybox": (0o100755, Path(shutil.which("busybox")).read_bytes()),
        "modules.list": (0o100644, "".join(m + "\n" for m in modules).encode()),
    }
    for module in modules:
        files[module] = (0o100644, (kernel_root / module).read_bytes())
    for name in list(files) + ["proc/", "sys/", "dev/", "sbin/"]:
        parts = name.split("/")[:-1]
        dirs.update("/".join(parts[:i]) for i in range(1, len(parts) + 1))
    with open(path, "wb") as out:
        for name in sorted(dirs):
            out.write(cpio_entry(name, 0o040755))
        for name, (mode, data) in files.items():
            out.write(cpio_entry(name, mode, data))
        out.write(cpio_entry("TRAILER!!!", 0))


# --- QEMU's monitor ----------------------------------------------------------------------

class Monitor:
    """A QMP connection: commands answered in order, the tray's moves kept as they come."""

    def __init__(self, connection):
        self.file = connection.makefile("rwb")
        self.replies = queue.Queue()
        self.tray_changed = threading.Condition()
        self.tray_open = None
        json.loads(self.file.readline())  # the greeting
        self.file.write(b'{"execute": "qmp_capabilities"}\n')
        self.file.flush()
        json.loads(self.file.readline())
        threading.Thread(target=self._read, daemon=True).start()
        self.tray_open = self.query_tray()

    def _read(self):
        for line in self.file:
            message = json.loads(line)
            if message.get("event") == "DEVICE_TRAY_MOVED":
                with self.tray_changed:
                    self.tray_open = message["data"]["tray-open"]
                    print(f"vmrun: the tray {'opened' if self.tray_open else 'closed'}", flush=True)
                    self.tray_changed.notify_all()
            elif "event" not in message:
                self.replies.put(message)
        self.replies.put({"error": {"desc": "QEMU closed its monitor"}})

    def execute(self, command, **arguments):
        self.file.write(json.dumps({"execute": command, "arguments": arguments}).encode() + b"\n")
        self.file.flush()
        reply = self.replies.get(timeout=REPLY_TIMEOUT)
        if "error" in reply:
            raise RuntimeError(f"{command}: {reply['error']['desc']}")
        return reply["return"]

    def query_tray(self):
        for device in self.execute("query-block"):
            if device.get("qdev", "").endswith(DRIVE_ID) or device.get("qdev") == DRIVE_ID:
                return device.get("tray_open", False)
        raise RuntimeError("query-block lists no CD-ROM drive")

    def wait_tray(self, is_open):
        with self.tray_changed:
            if not self.tray_changed.wait_for(lambda: self.tray_open == is_open, REPLY_TIMEOUT):
                raise RuntimeError(f"the tray did not {'open' if is_open else 'close'}")


# --- the guest's requests ----------------------------------------------------------------

def damaged(image, sectors):
    """The image behind QEMU's blkdebug driver, which fails every read of the sectors given
    ("1200,1201"): a CD block is four of them. The rules are written beside the image."""
    rules = Path(image).with_suffix(".blkdebug")
    rules.write_text("".join(f'[inject-error]\nevent = "read_aio"\nerrno = "5"\nsector = "{int(sector)}"\n'
                             'once = "off"\n\n' for sector in sectors.split(",")))
    return f"blkdebug:{rules}:{image}"


def serve(monitor, request):
    """Does what one request line asks; the reply line."""
    words = request.split(" ", 1)
    verb, argument = words[0], (words[1] if len(words) > 1 else "")
    if verb == "eject":  # the medium leaves; the tray stays open
        monitor.execute("eject", id=DRIVE_ID, force=True)
        monitor.wait_tray(True)
    elif verb == "insert":  # a medium goes in and the tray closes, even a tray udev locked
        monitor.execute("blockdev-change-medium", id=DRIVE_ID, filename=argument, format="raw", force=True,
                        **{"read-only-mode": "read-only"})
        monitor.wait_tray(False)
    elif verb == "insert-damaged":  # as insert, but reads of the listed 512-byte sectors fail (EIO)
        sectors, image = argument.split(" ", 1)
        monitor.execute("blockdev-change-medium", id=DRIVE_ID, filename=damaged(image, sectors), format="raw",
                        force=True, **{"read-only-mode": "read-only"})
        monitor.wait_tray(False)
    elif verb == "open":  # Linux locks the tray while the drive is open: force it
        monitor.execute("blockdev-open-tray", id=DRIVE_ID, force=True)
        monitor.wait_tray(True)
    elif verb == "close":
        monitor.execute("blockdev-close-tray", id=DRIVE_ID)
        monitor.wait_tray(False)
    elif verb == "wait-tray":  # a move the guest made
        monitor.wait_tray(argument == "open")
    elif verb == "tray":
        return "ok " + ("open" if monitor.query_tray() else "closed")
    else:
        return f"error unknown request {verb}"
    return "ok"


def serve_link(connection, monitor):
    link = connection.makefile("rwb")
    for line in link:
        request = line.decode().strip()
        if not request:
            continue
        try:
            reply = serve(monitor, request)
        except (RuntimeError, queue.Empty) as error:
            reply = f"error {error}"
        print(f"vmrun: {request} -> {reply}", flush=True)
        link.write(reply.encode() + b"\n")
        link.flush()


# --- one boot ----------------------------------------------------------------------------

# --- the accelerator ---------------------------------------------------------------------

def first_line(process, seconds):
    """The first non-blank line the process prints within `seconds`, or None; the process
    is ended either way."""
    lines = queue.Queue()

    def read():
        for raw in process.stdout:
            if raw.strip():
                lines.put(raw.decode(errors="replace").strip())
                return
        lines.put(None)

    threading.Thread(target=read, daemon=True).start()
    try:
        return lines.get(timeout=seconds)
    except queue.Empty:
        return None
    finally:
        process.kill()
        process.wait()


def probe_kvm(kernel, seconds):
    """Whether guests run under KVM here, and why: the kernel alone, with no initial RAM
    disk, must print its first console line within `seconds`."""
    if not os.access(KVM_DEVICE, os.R_OK | os.W_OK):
        return False, f"{KVM_DEVICE} cannot be opened"
    started = time.monotonic()
    process = subprocess.Popen(
        ["qemu-system-x86_64", "-machine", "pc,accel=kvm", "-cpu", "max", "-m", "256", "-no-reboot",
         "-display", "none", "-vga", "none", "-nodefaults", "-kernel", str(kernel),
         "-append", "console=ttyS0 earlyprintk=serial,ttyS0 panic=-1", "-serial", "stdio"],
        stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    spoke = first_line(process, seconds) is not None
    errors = process.stderr.read().decode(errors="replace").strip().splitlines()
    process.stdout.close()
    process.stderr.close()
    if spoke:
        return True, f"the KVM probe printed its first line in {time.monotonic() - started:.1f} s"
    if errors:
        return False, f"the KVM probe failed: {errors[-1]}"
    return False, f"the KVM probe printed nothing in {seconds:g} s"


def choose_accel(kernel, seconds):
    """The accelerator for every boot of this run, and why."""
    forced = os.environ.get("QUILLON_VM_ACCEL", "")
    if forced in ("kvm", "tcg"):
        return forced, f"QUILLON_VM_ACCEL={forced}"
    if forced:
        fail(f"QUILLON_VM_ACCEL must be kvm or tcg, not '{forced}'")
    works, why = probe_kvm(kernel, seconds)
    return ("kvm" if works else "tcg"), why


def qemu_command(kernel, initrd, boot, args, sockets):
    env = {"QUILLON_BOOT": boot, "QUILLON_SOURCE": args.source, "QUILLON_BUILD": args.build,
           "QUILLON_RESULTS": str(args.results)}
    append = " ".join(["console=ttyS0", "panic=-1", "quiet", "loglevel=4", BOOTS[boot]] +
                      [f"{key}={value}" for key, value in env.items()])
    return [
        "qemu-system-x86_64", "-machine", f"pc,accel={args.accel}", "-cpu", "max", "-smp", "2", "-m", "1536",
        "-no-reboot", "-display", "none", "-vga", "none", "-nodefaults",
        "-kernel", str(kernel), "-initrd", str(initrd), "-append", append,
        "-serial", "stdio",
        "-qmp", f"unix:{sockets['qmp']}",
        "-drive", "if=none,id=disc,media=cdrom,readonly=on",
        "-device", f"ide-cd,drive=disc,id={DRIVE_ID},bus=ide.1,unit=0",
        "-fsdev", "local,id=hostroot,path=/,security_model=none,readonly=on,multidevs=remap",
        "-device", "virtio-9p-pci,fsdev=hostroot,mount_tag=hostroot",
        "-fsdev", f"local,id=results,path={args.results},security_model=none,multidevs=remap",
        "-device", "virtio-9p-pci,fsdev=results,mount_tag=results",
        "-device", "virtio-serial-pci",
        "-chardev", f"socket,id=link,path={sockets['link']}",
        "-device", "virtserialport,chardev=link,name=quillon.link",
    ]


def listen(path):
    server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    server.bind(str(path))
    server.listen(1)
    return server


class Console:
    """A boot's console: each line goes to the log and the output, the exit line is noted,
    and a machine that has printed nothing for `silence` seconds is stopped."""

    def __init__(self, process, log, silence):
        self.process, self.log, self.silence = process, log, silence
        self.exit_code = None
        self.fell_silent = False
        self.last_line = time.monotonic()
        self.longest_silence = 0.0
        self.ended = threading.Event()
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()
        threading.Thread(target=self._watch, daemon=True).start()

    def _read(self):
        for raw in self.process.stdout:
            now = time.monotonic()
            self.longest_silence = max(self.longest_silence, now - self.last_line)
            self.last_line = now
            line = raw.decode(errors="replace").rstrip("\r\n")
            self.log.write(line + "\n")
            self.log.flush()
            print(f"guest| {line}", flush=True)
            if line.startswith("quillon-vm: exit "):
                self.exit_code = int(line.split()[-1])
        self.ended.set()

    def _watch(self):
        while not self.ended.wait(min(1.0, self.silence / 10)):
            if time.monotonic() - self.last_line >= self.silence:
                self.fell_silent = True
                print(f"vmrun: the console printed nothing for {self.silence:g} s: stopping the machine",
                      flush=True)
                self.process.kill()
                return

    def join(self):
        self.reader.join()


def boot_once(boot, kernel, initrd, args):
    print(f"vmrun: boot {boot} under {args.accel.upper()} ({args.accel_reason})", flush=True)
    started = time.monotonic()
    with tempfile.TemporaryDirectory(prefix="quillon-vm-") as scratch:
        sockets = {name: Path(scratch) / name for name in ("qmp", "link")}
        servers = {name: listen(path) for name, path in sockets.items()}
        command = qemu_command(kernel, initrd, boot, args, sockets)
        qemu = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE)
        log = open(args.results / f"console-{boot}.log", "w")
        console = Console(qemu, log, args.silence)
        watchdog = threading.Timer(args.timeout, qemu.kill)
        watchdog.start()
        try:
            for server in servers.values():
                server.settimeout(30)
            qmp = servers["qmp"].accept()[0]
            link = servers["link"].accept()[0]
            serve_link(link, Monitor(qmp))
            qemu.wait()
            console.join()
        except (OSError, RuntimeError, ValueError) as error:
            print(f"vmrun: boot {boot}: {error}", flush=True)
            qemu.kill()
            qemu.wait()
        finally:
            watchdog.cancel()
            log.close()
    seconds = time.monotonic() - started
    code = console.exit_code
    if code is not None:
        verdict = "passed" if code == 0 else f"failed (exit {code})"
    elif console.fell_silent:
        verdict = f"was stopped: its console printed nothing for {args.silence:g} s"
    else:
        verdict = "did not finish"
    print(f"vmrun: boot {boot} {verdict} in {seconds:.0f} s (longest silence {console.longest_silence:.0f} s)",
          flush=True)
    return code == 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source", required=True)
    parser.add_argument("--build", required=True)
    parser.add_argument("--boots", default=",".join(BOOTS))
    parser.add_argument("--cache", default=os.environ.get("QUILLON_VM_CACHE", "/var/cache/quillon-vm"))
    parser.add_argument("--timeout", type=int, default=400, help="seconds one boot may take")
    parser.add_argument("--silence", type=float, default=SILENCE_SECONDS,
                        help="seconds a boot's console may stay silent before the boot is stopped")
    parser.add_argument("--probe-seconds", type=float, default=PROBE_SECONDS,
                        help="seconds the KVM probe waits for the kernel's first line")
    args = parser.parse_args()
    args.source, args.build = os.path.abspath(args.source), os.path.abspath(args.build)
    args.results = Path(args.build) / "vm-results"
    for path in (args.source, args.build, str(args.results)):
        if any(c.isspace() for c in path):
            fail(f"the kernel command line cannot carry a path with blanks: {path}")
    need_tools()

    cache = Path(args.cache)
    try:
        # The guest mounts a tmpfs there; udisksd makes the folder only when it first runs.
        os.makedirs("/var/lib/udisks2", exist_ok=True)
        cache.mkdir(parents=True, exist_ok=True)
    except OSError as error:
        fail(f"{error} (run as root, or set QUILLON_VM_CACHE to a folder of yours)")
    kernel_root, version = unpacked_kernel(cache)
    shutil.rmtree(args.results, ignore_errors=True)
    args.results.mkdir(parents=True)
    initrd = args.results / "initrd.cpio"
    make_initrd(initrd, kernel_root, module_order(kernel_root, version), Path(args.source) / "tests/vm/init.sh")
    kernel = kernel_root / "boot" / f"vmlinuz-{version}"
    args.accel, args.accel_reason = choose_accel(kernel, args.probe_seconds)
    print(f"vmrun: {args.accel_reason}: using {args.accel.upper()}", flush=True)

    started = time.monotonic()
    passed = [boot for boot in args.boots.split(",") if boot_once(boot, kernel, initrd, args)]
    failed = len(args.boots.split(",")) - len(passed)
    print(f"vmrun: the boots took {time.monotonic() - started:.0f} s under {args.accel.upper()}", flush=True)
    print(f"vm: {len(passed)} passed, {failed} failed", flush=True)
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
