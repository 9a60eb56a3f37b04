"""FileLib's existence tests and path forms, on a folder made for each test."""

import pytest


@pytest.fixture
def tree(tmp_path):
    (tmp_path / "a.txt").write_text("a")
    (tmp_path / "b.log").write_text("b")
    (tmp_path / ".x").write_text("hidden")
    (tmp_path / "sub").mkdir()
    (tmp_path / "empty").mkdir()
    return tmp_path


@pytest.mark.parametrize("pattern, expected", [
    ("a.txt", True),
    (".x", False),          # a name starting with "." is hidden
    ("sub", False),         # a folder is no file
    ("missing.txt", False),
    ("*.txt", True),
    ("?.log", True),
    ("*.doc", False),
    (".*", False),          # only ".", ".." and the hidden file match
    ("sub/*.*", False),     # "." of the folder is no file either
    ("*", True),
])
def test_is_file_exist(files, tree, pattern, expected):
    assert files.isFileExist(f"{tree}/{pattern}") is expected


@pytest.mark.parametrize("path", ["", "   "])
def test_is_file_exist_of_blank_is_false(files, path):
    assert files.isFileExist(path) is False


@pytest.mark.parametrize("relative, expected", [
    ("sub", True),
    ("sub/", True),
    ("empty", True),        # an empty folder still lists itself
    ("a.txt", False),
    ("missing", False),
])
def test_is_directory_exist(files, tree, relative, expected):
    assert files.isDirectoryExist(theDir=f"{tree}/{relative}") is expected


def test_is_directory_exist_of_empty_is_false(files):
    assert files.isDirectoryExist("") is False


@pytest.mark.parametrize("path, expected", [
    ("/tmp", "/tmp/"),
    ("/tmp/", "/tmp/"),
    ("relative", "relative/"),
    ("", ""),
    ("   ", ""),
])
def test_check_path(files, path, expected):
    assert files.CheckPath(path) == expected


@pytest.mark.parametrize("path, expected", [
    ("/tmp/", "/tmp"),
    ("/tmp", "/tmp"),
    ("a//", "a/"),          # one final separator only
    ("/", ""),
    ("", ""),
])
def test_uncheck_path(files, path, expected):
    assert files.UnCheckPath(path) == expected


def test_check_and_uncheck_are_inverse_on_plain_paths(files, tree):
    path = str(tree / "sub")
    assert files.UnCheckPath(files.CheckPath(path)) == path


def test_trash_takes_a_python_list_of_names(files, tmp_path, isolated_home):
    names = []
    for i in range(3):
        (tmp_path / f"n{i}.txt").write_text(str(i))
        names.append(str(tmp_path / f"n{i}.txt"))
    assert files.DeleteFilesToWindowsTrash(names) == 0
    trash = isolated_home / ".local" / "share" / "Trash"
    assert sorted(p.name for p in (trash / "files").iterdir()) == ["n0.txt", "n1.txt", "n2.txt"]
    info = (trash / "info" / "n1.txt.trashinfo").read_text().splitlines()
    assert info[:2] == ["[Trash Info]", f"Path={tmp_path}/n1.txt"]
    assert files.DeleteFilesToWindowsTrash(names) == 2        # gone already
    assert files.DeleteFilesToWindowsTrash([names[0], object()]) == 0  # an object is no text
