"""FileLib from Python: a Python list of names where the library takes an array."""


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
