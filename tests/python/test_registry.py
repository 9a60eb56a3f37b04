"""The registry store across processes and faults, REGEDIT5 files through zvv, and the
WindowsRegistryInfo record passed by reference."""

import os
import random
import shutil
import sqlite3
import subprocess
import sys
import tempfile
from pathlib import Path

import pytest

import zivoviviruvov as zv

ZVV = os.path.join(os.path.dirname(zv.__file__), "..", "tools", "zvv", "zvv")
HKCU = -2147483647


@pytest.fixture
def registry():
    return zv.CreateObject("ZivoviViruvov.RegistryLib")


def python(code, **kwargs):
    """Runs `code` in another Python that imports the module, with this environment."""
    env = dict(os.environ, PYTHONPATH=os.path.dirname(zv.__file__))
    return subprocess.Popen([sys.executable, "-c", "import zivoviviruvov as zv\n" + code],
                            env=env, stdout=subprocess.PIPE, text=True, **kwargs)


def zvv(*args):
    return subprocess.run([ZVV, *args], capture_output=True, text=True)


def test_record_by_reference_and_as_a_dict(registry):
    system = zv.CreateObject("ZivoviViruvov.SystemLib")
    info = zv.Ref(None)
    system.GetWindowsInformation(info)
    assert list(info.value) == ["RegOwner", "RegCompany", "Product", "CSDVersion", "Version",
                                "VersionNo", "SubVersionNo", "ProductId", "Plus", "PlusId"]
    assert info.value["Product"] == "Windows NT" and info.value["RegOwner"] == ""
    # Without the key, the fields keep what the caller passed, cut at NUL and trimmed.
    fields = {"Plus": "  mine\0rest", "Other": "ignored"}
    system.GetWindowsInformation(fields)
    assert fields["Plus"] == "mine" and fields["Product"] == "Windows NT"
    key = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"
    registry.WriteRegistryMachine(key, "RegisteredOwner", "Ada")
    registry.WriteRegistryMachine(key, "ProductName", "Linux")
    system.GetWindowsInformation(info)
    assert (info.value["RegOwner"], info.value["Product"], info.value["Plus"]) == ("Ada", "Linux", "")


def test_values_written_by_one_process_are_read_by_others(registry):
    writers = [python(f"""
r = zv.CreateObject("ZivoviViruvov.RegistryLib")
for i in range(40):
    r.WriteRegistryCurrentUser("Software\\\\Shared", "w{n}-%d" % i, "v%d" % i)
""") for n in range(3)]
    assert [w.wait(60) for w in writers] == [0, 0, 0]
    values = registry.EnumerateRegistryValues("Software\\Shared", HKCU)
    assert len(values) == 120
    reader = python('print(zv.CreateObject("ZivoviViruvov.RegistryLib")'
                    '.ReadRegistryCurrentUser("Software\\\\Shared", "W2-39"))')
    assert reader.communicate(timeout=60)[0] == "v39\n"


def test_a_writer_killed_mid_write_loses_nothing_it_confirmed(registry, tmp_path):
    """20 rounds: a process writes values in a loop, printing each number once its write
    returned, and is killed with SIGKILL at a random moment."""
    rng = random.Random(11)
    confirmed = []
    for round_ in range(20):
        writer = python(f"""
r = zv.CreateObject("ZivoviViruvov.RegistryLib")
i = {round_ * 10000}
while True:
    r.WriteRegistryCurrentUser("Software\\\\Crash", "v%d" % i, "value %d" % i)
    print(i, flush=True)
    i += 1
""")
        for _ in range(rng.randint(1, 15)):
            confirmed.append(int(writer.stdout.readline()))
        writer.kill()
        confirmed += [int(line) for line in writer.stdout.read().split()]
        writer.wait()
    with sqlite3.connect(os.environ["ZV_REGISTRY"]) as db:
        assert db.execute("PRAGMA integrity_check").fetchone() == ("ok",)
    missing = [i for i in confirmed
               if registry.ReadRegistryCurrentUser("Software\\Crash", f"v{i}") != f"value {i}"]
    assert missing == []


REG_FILE = """Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\\Software\\Fixture]
@="default text"
"Quote \\\\ \\"name\\""="C:\\\\Program Files\\\\App"
"Count"=dword:0000002a
"Blob"=hex:00,01,ff
"Path"=hex(2):25,00,48,00,4f,00,4d,00,45,00,25,00,00,00
"List"=hex(7):61,00,00,00,62,00,00,00,00,00
"Caf\u00e9"="cr\u00e8me"

[HKEY_CURRENT_USER\\Software\\Fixture\\Sub]
"Long"=hex:00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,\\
  00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00

[-HKEY_CURRENT_USER\\Software\\Gone]
"""


def write_reg(path, text):
    path.write_bytes(b"\xff\xfe" + text.replace("\n", "\r\n").encode("utf-16-le"))


def test_reg_files_import_and_export_the_same_text(registry, tmp_path, monkeypatch):
    registry.WriteRegistryCurrentUser("Software\\Gone\\Deep", "x", "1")
    write_reg(tmp_path / "in.reg", REG_FILE)
    assert zvv("reg", "import", str(tmp_path / "in.reg")).returncode == 0
    assert not registry.isKeySectionExists(HKCU, "Software\\Gone")
    assert registry.ReadRegistryCurrentUser("Software\\Fixture", "") == "default text"
    assert registry.ReadRegistryCurrentUser("Software\\Fixture", "caf\u00e9") == "cr\u00e8me"
    values = registry.EnumerateRegistryValues("Software\\Fixture", HKCU)
    assert [row[2] for row in values] == ["REG_SZ", "REG_SZ", "REG_DWORD", "REG_BINARY",
                                          "REG_EXPAND_SZ", "REG_MULTI_SZ", "REG_SZ"]
    assert values[2][1] == "&H2A" and values[1][0] == 'Quote \\ "name"'
    assert zvv("reg", "export", "HKCU\\Software\\Fixture", str(tmp_path / "out.reg")).returncode == 0
    exported = (tmp_path / "out.reg").read_bytes()
    assert exported.startswith(b"\xff\xfe")
    assert exported[2:].decode("utf-16-le") == REG_FILE.split("[-HKEY")[0].replace("\n", "\r\n")
    # The exported file gives the same store again.
    monkeypatch.setenv("ZV_REGISTRY", str(tmp_path / "second.db"))
    assert zvv("reg", "import", str(tmp_path / "out.reg")).returncode == 0
    assert zvv("reg", "export", "HKEY_CURRENT_USER\\Software\\Fixture",
               str(tmp_path / "again.reg")).returncode == 0
    assert (tmp_path / "again.reg").read_bytes() == exported


@pytest.mark.parametrize("text, message", [
    ("REGEDIT9\n", "not a registry file"),
    ("Windows Registry Editor Version 5.00\n\"a\"=\"b\"\n", "a value outside any key"),
    ("Windows Registry Editor Version 5.00\n[HKEY_NOWHERE\\x]\n", "unknown root key"),
    ("Windows Registry Editor Version 5.00\n[HKCU\\x]\n\"a\"=hex:1g\n", "bad hex byte"),
])
def test_bad_reg_files_name_their_line(tmp_path, text, message):
    write_reg(tmp_path / "bad.reg", text)
    out = zvv("reg", "import", str(tmp_path / "bad.reg"))
    assert out.returncode == 1 and message in out.stderr and ".reg:" in out.stderr


def test_a_store_that_is_no_database_stays_as_it_was(registry):
    store = Path(os.environ["ZV_REGISTRY"])
    store.write_text("plain text, no database")
    registry.WriteRegistryCurrentUser("Software\\X", "v", "1")
    assert registry.ReadRegistryCurrentUser("Software\\X", "v") == ""
    assert registry.ReadRegistryMachine("Software\\X", "") == "2"
    assert registry.EnumerateRegistryValues("Software\\X", HKCU) is None
    assert store.read_text() == "plain text, no database"


@pytest.mark.skipif(os.geteuid() != 0 or not hasattr(os, "setuid"),
                    reason="needs root to run a reader as another user")
def test_a_read_only_store_is_read_and_not_written(registry, monkeypatch):
    folder = tempfile.mkdtemp()
    try:
        os.chmod(folder, 0o755)
        store = os.path.join(folder, "registry.db")
        monkeypatch.setenv("ZV_REGISTRY", store)
        registry.WriteRegistryCurrentUser("Software\\RO", "v", "kept")
        os.chmod(store, 0o444)
        other = python("""
r = zv.CreateObject("ZivoviViruvov.RegistryLib")
r.WriteRegistryCurrentUser("Software\\\\RO", "v", "changed")
r.WriteRegistryCurrentUser("Software\\\\RO\\\\New", "w", "x")
print(r.ReadRegistryCurrentUser("Software\\\\RO", "v"), r.isKeySectionExists(-2147483647, "Software\\\\RO\\\\New"))
""", preexec_fn=lambda: os.setuid(65534))
        assert other.communicate(timeout=60)[0] == "kept False\n"
        assert registry.ReadRegistryCurrentUser("Software\\RO", "v") == "kept"
    finally:
        shutil.rmtree(folder)
