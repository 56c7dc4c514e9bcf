#!/usr/bin/python3
"""The harness's own judgement of the machine: which accelerator it picks, and that a
silent boot is stopped early. QEMU is replaced by a script that behaves as a working KVM,
a KVM that never gets past the firmware, or one that refuses to start."""
import io
import os
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

sys.dont_write_bytecode = True
sys.path.insert(0, str(Path(__file__).resolve().parent))
import vmrun  # noqa: E402

FAKE_QEMU = """#!/bin/sh
case "$FAKE_QEMU" in
speaks) echo; echo "Linux version 6.1.0"; exec sleep 30 ;;
silent) exec sleep 30 ;;
refuses) echo "qemu-system-x86_64: failed to initialize kvm: No such device" >&2; exit 1 ;;
esac
"""


class AcceleratorProbe(unittest.TestCase):
    def setUp(self):
        self.scratch = tempfile.TemporaryDirectory()
        root = Path(self.scratch.name)
        qemu = root / "qemu-system-x86_64"
        qemu.write_text(FAKE_QEMU)
        qemu.chmod(0o755)
        device = root / "kvm"
        device.write_text("")
        self.saved = (os.environ.get("PATH"), vmrun.KVM_DEVICE)
        os.environ["PATH"] = f"{root}:{os.environ['PATH']}"
        vmrun.KVM_DEVICE = str(device)

    def tearDown(self):
        os.environ["PATH"], vmrun.KVM_DEVICE = self.saved
        os.environ.pop("FAKE_QEMU", None)
        os.environ.pop("QUILLON_VM_ACCEL", None)
        self.scratch.cleanup()

    def choose(self, behaviour):
        os.environ["FAKE_QEMU"] = behaviour
        started = time.monotonic()
        accel, why = vmrun.choose_accel(Path("vmlinuz"), 1)
        return accel, why, time.monotonic() - started

    def test_kvm_only_when_the_kernel_speaks_in_time(self):
        accel, why, seconds = self.choose("speaks")
        self.assertEqual(accel, "kvm")
        self.assertLess(seconds, 10)
        accel, why, seconds = self.choose("silent")
        self.assertEqual((accel, why), ("tcg", "the KVM probe printed nothing in 1 s"))
        self.assertLess(seconds, 10, "the probe must not wait for the silent guest to end")
        accel, why, _ = self.choose("refuses")
        self.assertEqual(accel, "tcg")
        self.assertIn("failed to initialize kvm", why)

    def test_no_device_and_forced_choices(self):
        os.environ["FAKE_QEMU"] = "speaks"
        vmrun.KVM_DEVICE = os.path.join(self.scratch.name, "missing")
        self.assertEqual(vmrun.choose_accel(Path("vmlinuz"), 1)[0], "tcg")
        os.environ["QUILLON_VM_ACCEL"] = "tcg"
        vmrun.KVM_DEVICE = os.path.join(self.scratch.name, "kvm")
        self.assertEqual(vmrun.choose_accel(Path("vmlinuz"), 1), ("tcg", "QUILLON_VM_ACCEL=tcg"))
        os.environ["FAKE_QEMU"] = "silent"
        os.environ["QUILLON_VM_ACCEL"] = "kvm"
        self.assertEqual(vmrun.choose_accel(Path("vmlinuz"), 1)[0], "kvm")


class SilentConsole(unittest.TestCase):
    def watch(self, script, silence):
        process = subprocess.Popen(["sh", "-c", script], stdout=subprocess.PIPE)
        log = io.StringIO()
        started = time.monotonic()
        console = vmrun.Console(process, log, silence)
        console.join()
        process.wait()
        process.stdout.close()
        return console, log.getvalue(), time.monotonic() - started

    def test_a_silent_machine_is_stopped_early(self):
        console, log, seconds = self.watch("echo booting; exec sleep 60", 1)
        self.assertTrue(console.fell_silent)
        self.assertIsNone(console.exit_code)
        self.assertEqual(log, "booting\n")
        self.assertLess(seconds, 10)

    def test_a_machine_that_keeps_talking_runs_to_its_exit_line(self):
        script = "for i in 1 2 3 4 5 6; do echo step $i; sleep 0.3; done; echo 'quillon-vm: exit 3'"
        console, log, _ = self.watch(script, 1)
        self.assertFalse(console.fell_silent)
        self.assertEqual(console.exit_code, 3)
        self.assertIn("step 6", log)


if __name__ == "__main__":
    unittest.main()
