"""FileLib from Python: keyword arguments and a Python list of names."""


def test_existence_by_keyword(files, tmp_path):
    # The rules of the patterns and folders are checked natively; here the call from Python.
    (tmp_path / "a.txt").write_text("a")
    (tmp_path / ".x").write_text("hidden")
    assert files.isFileExist(theFile=f"{tmp_path}/*.txt") is True
    assert files.isFileExist(f"{tmp_path}/.x") is files.isFileExist(f"{tmp_path}/.*") is False
    assert files.isDirectoryExist(theDir=f"{tmp_path}/a.txt") is False
    assert files.UnCheckPath(files.CheckPath(str(tmp_path))) == str(tmp_path)


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
