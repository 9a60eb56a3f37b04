"""ZipLib and UnZipLib from Python: round trips checked by Info-ZIP's unzip -t and by
zipfile, archives of zip and zipfile read back byte for byte, update, freshen and delete,
the name-list limits, events with by-reference answers, indexed properties and the
hostile archives."""
import os
import shutil
import subprocess
import zipfile

import pytest

import hostile_archives
import zivoviviruvov as zv
from zvtest import raises_error

needs_info_zip = pytest.mark.skipif(not shutil.which("unzip") or not shutil.which("zip"),
                                    reason="Info-ZIP zip and unzip are the peers")

FILES = {
    "a.txt": b"line\n" * 400,
    "empty.txt": b"",
    "docs/r\u00e9sum\u00e9.txt": "caf\u00e9\n".encode(),
    # Ctrl-Z and Escape pass in text, the control byte after them makes it binary whatever
    # the random bytes after it.
    "docs/deep/random.bin": b"\x1a\x1b\x10" + os.urandom(69997),
}


class Events:
    """Records every event; answers with the values the test sets."""

    def __init__(self, password="", overwrite=100, cancel_at=None):
        self.seen = []
        self.password, self.overwrite, self.cancel_at = password, overwrite, cancel_at

    def OnProgress(self, count, message):
        self.seen.append(("Progress", count, message))

    def OnCancel(self, message, cancel):
        self.seen.append(("Cancel", message))
        cancel.value = message == self.cancel_at

    def OnPasswordRequest(self, password, cancel):
        self.seen.append(("PasswordRequest",))
        password.value = self.password

    def OnOverwritePrompt(self, name, response):
        self.seen.append(("OverwritePrompt", name))
        response.value = self.overwrite

    def messages(self):
        return [e[2] for e in self.seen if e[0] == "Progress"]

    def count(self, kind):
        return sum(1 for e in self.seen if e[0] == kind)


@pytest.fixture
def tree(tmp_path, monkeypatch):
    """The source files under tmp/src; the current folder is restored (BasePath moves it).
    Afterwards Info-ZIP's unzip -t accepts every archive the test wrote."""
    monkeypatch.chdir(tmp_path)
    for name, data in FILES.items():
        path = tmp_path / "src" / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
    yield tmp_path
    if shutil.which("unzip"):
        for archive in tmp_path.rglob("*.zip"):
            assert any(subprocess.run(["unzip", "-tqq", "-P", password, archive],
                                      capture_output=True).returncode == 0
                       for password in (b"pw", "s\u00e9cret".encode("cp1252"))), archive


@pytest.fixture(scope="module")
def hostile(tmp_path_factory):
    folder = tmp_path_factory.mktemp("hostile")
    hostile_archives.write_all(folder)
    return folder


def zip_folder(tree, archive, events=None, **settings):
    z = zv.WithEvents(zv.CreateObject("ZivoviViruvov.ZipLib"), events or Events())
    z.BasePath = str(tree / "src")
    z.ZipFile = str(archive)
    z.RecurseSubDirs = True
    z.StoreFolderNames = True
    for name, value in settings.items():
        setattr(z, name, value)
    z.AddFileSpec("*")
    z.Zip()
    return z


def listing(archive, events=None, folder=None, **settings):
    """An UnZipLib that listed the archive, extracting to folder with these settings."""
    u = zv.WithEvents(zv.CreateObject("ZivoviViruvov.UnZipLib"), events or Events())
    u.ZipFile, u.UnzipFolder = str(archive), str(folder or "")
    for name, value in settings.items():
        setattr(u, name, value)
    assert u.Directory() == 0
    return u


def names(u):
    return sorted((u.FileDirectory(i) + "/" if u.FileDirectory(i) else "") + u.Filename[i]
                  for i in range(1, u.FileCount + 1))


def extracted(folder):
    return {str(p.relative_to(folder)).replace(os.sep, "/"): p.read_bytes()
            for p in folder.rglob("*") if p.is_file()}


@needs_info_zip
@pytest.mark.parametrize("password", ["", "s\u00e9cret"])
def test_round_trip(tree, password):
    archive = tree / "out.zip"
    zipping = Events(password)
    zip_folder(tree, archive, zipping, Encrypt=bool(password))
    assert zipping.count("PasswordRequest") == (1 if password else 0)
    assert zipping.count("Cancel") == len(FILES)
    # The encryption header counts in the packed size.
    assert f"  adding: a.txt (deflated {98 if password else 99}%)" in zipping.messages()
    assert "  adding: docs/deep/random.bin (stored 0%)" in zipping.messages()
    with zipfile.ZipFile(archive) as zf:
        zf.setpassword(password.encode("cp1252"))
        assert {n: zf.read(n) for n in zf.namelist()} == FILES

    unzipping = Events(password)
    u = listing(archive, unzipping, tree / "back", UseFolderNames=True)
    assert u.FileCount == len(FILES) and names(u) == sorted(FILES)
    for i in range(1, u.FileCount + 1):
        assert u.FilePackedSize(i) == u.FileSize(i) * u.FileCompressionRatio(i) // 100
        assert u.FileEncrypted(i) == bool(password)
    assert u.Unzip() is False
    assert extracted(tree / "back") == FILES
    assert unzipping.count("PasswordRequest") == (1 if password else 0)
    assert "  inflating: a.txt" in unzipping.messages()


@needs_info_zip
def test_reads_archives_of_zip_and_zipfile(tree):
    src = tree / "src"
    subprocess.run(["zip", "-qr", "-P", "pw", tree / "info-zip.zip", "."], cwd=src, check=True)
    subprocess.run(["zip", "-qr0", tree / "stored.zip", "."], cwd=src, check=True)
    with zipfile.ZipFile(tree / "python.zip", "w", zipfile.ZIP_DEFLATED) as zf:
        for name, data in FILES.items():
            with zf.open(name, "w", force_zip64=name.endswith(".bin")) as f:
                f.write(data)
        zf.writestr("stored.txt", b"kept", compress_type=zipfile.ZIP_STORED)
    expected = {"info-zip.zip": FILES, "stored.zip": FILES,
                "python.zip": {**FILES, "stored.txt": b"kept"}}
    for archive, files in expected.items():
        u = listing(tree / archive, Events("pw"), tree / archive[:-4], UseFolderNames=True)
        assert names(u) == sorted(files), archive
        assert u.Unzip() is False, archive
        assert extracted(tree / archive[:-4]) == files, archive


@needs_info_zip
def test_freshen_update_and_delete(tree):
    archive = tree / "out.zip"
    zip_folder(tree, archive)
    changed, new = tree / "src" / "a.txt", tree / "src" / "new.txt"
    changed.write_bytes(b"changed")
    new.write_bytes(b"new")
    later = os.stat(changed).st_mtime + 10
    os.utime(changed, (later, later))
    events = Events()
    zip_folder(tree, archive, events, FreshenFiles=True)
    assert [m for m in events.messages() if m.endswith("%)")] == ["freshening: a.txt (stored 0%)"]
    events = Events()
    zip_folder(tree, archive, events, UpdateOnlyIfNewer=True)
    assert [m for m in events.messages() if m.endswith("%)")] == ["  adding: new.txt (stored 0%)"]

    z = zv.WithEvents(zv.CreateObject("ZivoviViruvov.ZipLib"), events := Events())
    z.ZipFile = str(archive)
    z.AddFileSpec("docs/deep/*")
    z.Delete()
    assert events.messages() == ["deleting: docs/deep/random.bin"]
    with zipfile.ZipFile(archive) as zf:
        assert sorted(zf.namelist()) == ["a.txt", "docs/r\u00e9sum\u00e9.txt", "empty.txt", "new.txt"]
        assert zf.read("a.txt") == b"changed"


def test_name_list_limits_and_indexed_properties(tree, hostile):
    z = zv.CreateObject("ZivoviViruvov.ZipLib")
    z.ZipFile = str(tree / "none.zip")
    for i in range(1023):
        z.AddFileSpec(f"missing{i}")
    assert z.FileSpec[1] == z.FileSpec(1) == "missing0"
    z.Zip()  # 1023 specs fit; none of the files exists
    z.AddFileSpec("one too many")
    with raises_error(9):
        z.Zip()
    u = listing(hostile / "many.zip", None, tree / "many")
    assert u.FileCount == 1025
    assert u.FileSelected(1) is True and u.FileSelected[1] is True
    u.FileSelected[1] = False
    with raises_error(9) as caught:
        u.Unzip()
    assert caught.value.source == "ZivoviViruvov.LIB_UNZIP"
    u.SetFileSelected(2, False)
    assert [u.FileSelected[i] for i in (1, 2, 3)] == [False, False, True]
    assert u.Unzip() is False and len(os.listdir(tree / "many")) == 1023
    # Read-only properties refuse writes, indexed ones in both forms.
    for write in (lambda: setattr(u, "FileCount", 1), lambda: u.Filename.__setitem__(1, "x"),
                  lambda: u.SetFilename(1, "x"), lambda: z.FileSpec.__setitem__(1, "x")):
        with raises_error(438):
            write()


def test_event_answers(tree):
    archive = tree / "out.zip"
    zip_folder(tree, archive, Events(cancel_at="docs/deep/random.bin"))
    assert not archive.exists() and os.listdir(tree) == ["src"]
    zip_folder(tree, archive)
    u = listing(archive, None, tree / "back", UseFolderNames=True, PromptToOverwrite=True)
    u.Unzip()
    for answer, prompts, kept in [(100, 4, True), (104, 1, True), (102, 4, False), (103, 1, False)]:
        (tree / "back" / "a.txt").write_bytes(b"mine")
        events = Events(overwrite=answer)
        zv.WithEvents(u, events).Unzip()
        assert events.count("OverwritePrompt") == prompts, answer
        assert ((tree / "back" / "a.txt").read_bytes() == b"mine") == kept, answer
    # An empty password ends the asking for the rest of the run.
    zip_folder(tree, tree / "secret.zip", Events("pw"), Encrypt=True)
    events = Events("")
    u = listing(tree / "secret.zip", events, tree / "nothing")
    assert u.Unzip() is True and events.count("PasswordRequest") == 1
    assert extracted(tree / "nothing") == {}


@pytest.mark.parametrize("name, message, leftover", [
    ("slip.zip", "   skipping: ../evil.txt  path leads outside the extraction folder", ["ok.txt"]),
    ("symlink.zip", "   skipping: link  symbolic link leads outside the extraction folder",
     ["inner", "link/escape.txt", "sub/x.txt"]),
    ("bomb.zip", "   skipping: bomb.bin  compression ratio above 1000:1 (possible zip bomb)", []),
    ("overlap.zip", "error:  invalid zip file with overlapped components (possible zip bomb)", []),
    ("past_end.zip", "error:  start of central directory not found; zipfile corrupt.", []),
    ("damaged.zip", "  error:  bad.txt  bad CRC e62fbf16  (should be 83e53180)", ["good.txt"]),
    ("truncated.zip", "error:  End-of-central-directory signature not found.  Either this "
     "file is not a zipfile, or it constitutes one disk of a multi-part archive.", []),
])
def test_hostile_archives(tree, hostile, name, message, leftover):
    events = Events()
    u = listing(hostile / name, events, tree / "out" / "inside", UseFolderNames=True)
    assert u.Unzip() is True
    assert message in events.messages()
    found = sorted(str(p.relative_to(tree / "out")).replace(os.sep, "/")
                   for p in (tree / "out").rglob("*") if not p.is_dir() or p.is_symlink())
    assert found == ["inside/" + f for f in leftover]


def test_with_events_connects_disconnects_and_passes_failures_on(tree):
    events = Events()
    z = zv.CreateObject("ZivoviViruvov.ZipLib")
    assert zv.WithEvents(z, events) is z
    z.ZipFile = str(tree / "out.zip")
    z.AddFileSpec("src/a.txt")
    z.Zip()
    assert events.messages() == ["  adding: a.txt (deflated 99%)"]  # folder names dropped
    zv.WithEvents(z, None)
    z.Zip()
    assert len(events.seen) == 2
    with raises_error(438):
        zv.WithEvents(zv.CreateObject("ZivoviViruvov.FileLib"), events)

    class Failing(Events):
        def OnCancel(self, message, cancel):
            raise KeyError(message)

    with raises_error(440) as caught:
        zip_folder(tree, tree / "failed.zip", Failing())
    assert isinstance(caught.value.__cause__, KeyError)
    assert not (tree / "failed.zip").exists()


@pytest.mark.parametrize("zip_settings, unzip_settings, expected", [
    ({}, {"UseFolderNames": True}, {"a b.txt": b"x\r\ny\n", "d/c.txt": b"c"}),
    ({"IncludeSystemAndHiddenFiles": True}, {"UseFolderNames": True},
     {"a b.txt": b"x\r\ny\n", "d/c.txt": b"c", ".hidden": b"h"}),
    ({"ConvertLFToCRLF": True}, {"UseFolderNames": True}, {"a b.txt": b"x\r\ny\r\n", "d/c.txt": b"c"}),
    ({"ConvertCRLFToLF": True}, {}, {"a b.txt": b"x\ny\n", "c.txt": b"c"}),
    ({}, {"ConvertCRToCRLF": True, "SpaceToUnderScore": True}, {"a_b.txt": b"x\ny\n", "c.txt": b"c"}),
    ({}, {"TestZip": True}, {}),
])
def test_options(tmp_path, monkeypatch, zip_settings, unzip_settings, expected):
    monkeypatch.chdir(tmp_path)
    (tmp_path / "src" / "d").mkdir(parents=True)
    for name, data in {"a b.txt": b"x\r\ny\n", "d/c.txt": b"c", ".hidden": b"h"}.items():
        (tmp_path / "src" / name).write_bytes(data)
    zip_folder(tmp_path, tmp_path / "out.zip", **zip_settings)
    events = Events()
    u = listing(tmp_path / "out.zip", events, tmp_path / "back", **unzip_settings)
    assert u.Unzip() is False
    assert extracted(tmp_path / "back") == expected
    if u.TestZip:
        assert "    testing: a b.txt   OK" in events.messages()
