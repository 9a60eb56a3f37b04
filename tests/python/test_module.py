"""Creating the library's classes and calling them late-bound from Python."""

import pickle
import re

import pytest

import zivoviviruvov as zv
from zvtest import raises_error

CREATABLE = [
    "FileLib", "FlexGridLib", "HTMlib", "InternetLib", "LangueLib", "LstViewLib", "MoneyLib",
    "ProgressLib", "RTFlib", "RegistryLib", "StrChr", "SystemLib", "TimeLib", "TrViewLib",
    "UnZipLib", "ZipLib",
]
CLSIDS = {name: clsid for name, _, clsid in zv.classes()}


def test_version_and_classes_listed_once_each():
    assert zv.library_version == "49.0"
    listed = zv.classes()
    assert sorted(name for name, _, _ in listed) == sorted(CREATABLE)
    for name, progid, clsid in listed:
        assert progid == "ZivoviViruvov." + name
        assert re.fullmatch(r"\{[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}\}", clsid)
    assert len(set(CLSIDS.values())) == len(listed)


@pytest.mark.parametrize("name", CREATABLE)
def test_create_by_progid_and_clsid(name):
    by_progid = zv.CreateObject("ZivoviViruvov." + name)
    by_clsid = zv.CreateObject(CLSIDS[name])
    by_lowercase = zv.Dispatch(("ZivoviViruvov." + name).lower())
    for obj in (by_progid, by_clsid, by_lowercase):
        assert repr(obj) == f"<zivoviviruvov.Object {name}>"
    # Each call makes a new instance.
    assert by_progid != by_clsid
    assert by_progid == by_progid and hash(by_progid) == hash(by_progid)


@pytest.mark.parametrize("progid", [
    "FileLib",                      # a class name is not a ProgID
    "",
    "ListBox",                      # models come from their own factories
    "{00000000-0000-0000-0000-000000000000}",
])
def test_unknown_progid_fails_with_429(progid):
    with raises_error(429) as info:
        zv.CreateObject(progid)
    assert info.value.description.endswith(progid)


def test_calls_by_name(files):
    # Parameter names ignore case; calls by position are rows of tests/cases/frame.tsv.
    assert files.CheckPath(thePath="/x") == files.CheckPath(THEPATH="/x") == "/x/"


@pytest.mark.parametrize("call, number, source", [
    (lambda f: f.CheckPath(path="/x"), 448, "ZivoviViruvov.FileLib"),  # no parameter so named
    (lambda f: f.CheckPath("/a", "/b"), 450, "ZivoviViruvov.FileLib"),  # too many arguments
    (lambda f: f.CheckPath("/a", thePath="/b"), 450, "ZivoviViruvov.FileLib"),  # one twice
    (lambda f: f.isFileExist(), 449, "ZivoviViruvov.FileLib"),  # a required one left out
    # A Python int beyond 32 bits fails before the call.
    (lambda f: f.CheckPath(2 ** 31), 6, "ZivoviViruvov"),
    (lambda f: f.CheckPath(-2 ** 31 - 1), 6, "ZivoviViruvov"),
])
def test_call_errors(files, call, number, source):
    with raises_error(number) as info:
        call(files)
    assert (info.value.source, info.value.helpfile, info.value.helpcontext) == (source, "", 0)
    if number == 449:
        assert info.value.description == "Argument not optional"


def test_python_side_of_objects_and_attributes(files):
    assert zv.Dispatch(files) is files
    assert zv.Collection() and zv.ListBox()       # true even when empty
    for make in (lambda: zv.CreateObject(42), zv.Object):
        with pytest.raises(TypeError):
            make()
    box = zv.ListBox()
    box.AddItem("a")
    # A property without required parameters is read at access.
    assert box.ListCount == box.listcount == 1
    assert isinstance(box.List, zv.Member) and box.List(0) == "a"
    assert repr(files.CheckPath) == (
        "<zivoviviruvov.Member FileLib.CheckPath: Function CheckPath(thePath As String) As String>")
    names = dir(zv.ComboBox())
    assert {"AddItem", "List", "ListCount", "ListIndex", "Text"} <= set(names)
    assert names.count("Text") == 1            # Get and Let are one member
    with pytest.raises(AttributeError) as info:
        files._private                         # underscore names are Python's own
    assert not isinstance(info.value, zv.AutomationError)
    with pytest.raises(AttributeError):
        files._private = 1


def test_unknown_member_is_an_attribute_error_with_438(files):
    with pytest.raises(zv.UnknownMemberError) as info:
        files.NoSuchMember
    assert isinstance(info.value, zv.AutomationError) and isinstance(info.value, AttributeError)
    assert info.value.number == 438
    assert "FileLib.NoSuchMember" in info.value.description
    assert not hasattr(files, "NoSuchMember") and hasattr(files, "checkPATH")
    assert getattr(files, "Nope", "fallback") == "fallback"
    # A put to a property that has none: unknown, read-only, read-only on a list box.
    for name, value in [("NoSuchProperty", 1), ("ListCount", 3), ("Text", "x")]:
        with pytest.raises(zv.UnknownMemberError) as info:
            setattr(zv.ListBox(), name, value)
        assert info.value.number == 438


def test_automation_error_fields():
    error = zv.AutomationError(5)
    assert error.description == "Invalid procedure call or argument"
    assert (error.source, error.helpfile, error.helpcontext) == ("", "", 0)
    assert str(error) == "Error 5: Invalid procedure call or argument"
    error = pickle.loads(pickle.dumps(zv.AutomationError(1001, "Custom", "Src", "help.chm", 42)))
    assert (error.number, error.description, error.source, error.helpfile, error.helpcontext) == (
        1001, "Custom", "Src", "help.chm", 42)


def test_message_handler_set_returns_the_one_it_replaces_and_refuses_what_is_not_callable():
    # The boxes members show are checked with those members, through conftest's `boxes`.
    def first(text, title, style):
        return 1

    try:
        assert zv.set_message_handler(first) is None
        assert zv.set_message_handler(print) is first
        for not_callable in (1, "handler", [print]):
            with pytest.raises(TypeError):
                zv.set_message_handler(not_callable)
        assert zv.set_message_handler(None) is print
        assert zv.set_message_handler(None) is None
    finally:
        zv.set_message_handler(None)
