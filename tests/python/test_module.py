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


def test_library_version():
    assert zv.library_version == "49.0"


def test_classes_lists_the_creatable_classes_once_each():
    listed = zv.classes()
    assert sorted(name for name, _, _ in listed) == sorted(CREATABLE)
    for name, progid, clsid in listed:
        assert progid == "ZivoviViruvov." + name
        assert re.fullmatch(r"\{[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}\}", clsid)
    assert len({clsid for _, _, clsid in listed}) == len(listed)


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
    "ZivoviViruvov.Nope",
    "FileLib",                      # a class name is not a ProgID
    "",
    "ZivoviViruvov.COpSysInfo",     # private to the library
    "ListBox",                      # models come from their own factories
    "{00000000-0000-0000-0000-000000000000}",
])
def test_unknown_progid_fails_with_429(progid):
    with raises_error(429) as info:
        zv.CreateObject(progid)
    assert info.value.description.endswith(progid)


def test_create_object_rejects_a_non_string():
    with pytest.raises(TypeError):
        zv.CreateObject(42)


def test_dispatch_of_an_object_is_that_object(files):
    assert zv.Dispatch(files) is files


# --- arguments ---------------------------------------------------------------------------

@pytest.mark.parametrize("call, expected", [
    (lambda f: f.CheckPath("/tmp"), "/tmp/"),
    (lambda f: f.CheckPath(thePath="/x"), "/x/"),
    (lambda f: f.CheckPath(THEPATH="/x"), "/x/"),     # parameter names ignore case
    (lambda f: f.checkpath("/y"), "/y/"),             # so do member names
    (lambda f: f.CHECKPATH("/y/"), "/y/"),
    (lambda f: f.CheckPath(5), "5/"),                 # a Long converted to the String parameter
    (lambda f: f.CheckPath(True), "True/"),
])
def test_calls_by_position_and_name(files, call, expected):
    assert call(files) == expected


@pytest.mark.parametrize("call, number", [
    (lambda f: f.CheckPath(path="/x"), 448),             # no parameter of that name
    (lambda f: f.CheckPath("/a", "/b"), 450),            # too many arguments
    (lambda f: f.CheckPath("/a", thePath="/b"), 450),    # the same parameter twice
    (lambda f: f.CheckPath(), 449),                      # a required one left out
    (lambda f: f.isFileExist(), 449),
])
def test_call_errors(files, call, number):
    with raises_error(number) as info:
        call(files)
    assert info.value.source == "ZivoviViruvov.FileLib"


@pytest.mark.parametrize("value", [2 ** 31, -2 ** 31 - 1])
def test_python_int_beyond_32_bits_fails_with_6_before_the_call(files, value):
    with raises_error(6) as info:
        files.CheckPath(value)
    assert info.value.source == "ZivoviViruvov"


def test_long_limits_pass(files):
    assert files.CheckPath(-2 ** 31) == "-2147483648/"
    assert files.CheckPath(2 ** 31 - 1) == "2147483647/"


# --- attributes --------------------------------------------------------------------------

def test_property_without_required_parameters_is_read_at_access():
    box = zv.ListBox()
    box.AddItem("a")
    assert box.ListCount == 1
    assert box.listcount == 1
    assert isinstance(box.List, zv.Member)       # List(index) needs its index
    assert box.List(0) == "a"
    assert isinstance(box.AddItem, zv.Member)


def test_member_repr_shows_its_signature(files):
    assert repr(files.CheckPath) == (
        "<zivoviviruvov.Member FileLib.CheckPath: Function CheckPath(thePath As String) As String>")


def test_unknown_member_is_an_attribute_error_with_438(files):
    with pytest.raises(zv.UnknownMemberError) as info:
        files.NoSuchMember
    assert isinstance(info.value, zv.AutomationError)
    assert isinstance(info.value, AttributeError)
    assert info.value.number == 438
    assert "FileLib.NoSuchMember" in info.value.description
    assert not hasattr(files, "NoSuchMember")
    assert hasattr(files, "checkPATH")
    assert getattr(files, "Nope", "fallback") == "fallback"


@pytest.mark.parametrize("name, value", [
    ("NoSuchProperty", 1),     # unknown
    ("ListCount", 3),          # read-only
    ("Text", "x"),             # read-only on a list box
])
def test_put_to_a_property_that_has_no_put_fails_with_438(name, value):
    box = zv.ListBox()
    with pytest.raises(zv.UnknownMemberError) as info:
        setattr(box, name, value)
    assert info.value.number == 438


def test_underscore_names_are_python_attributes_only(files):
    with pytest.raises(AttributeError) as info:
        files._private
    assert not isinstance(info.value, zv.AutomationError)
    with pytest.raises(AttributeError):
        files._private = 1


def test_dir_lists_members_once():
    names = dir(zv.ComboBox())
    assert {"AddItem", "List", "ListCount", "ListIndex", "Text"} <= set(names)
    assert names.count("Text") == 1            # Get and Let are one member


def test_object_is_true_even_when_empty():
    assert zv.Collection()
    assert zv.ListBox()


def test_objects_cannot_be_created_directly():
    with pytest.raises(TypeError):
        zv.Object()


# --- AutomationError ---------------------------------------------------------------------

def test_automation_error_fills_the_standard_description():
    error = zv.AutomationError(5)
    assert error.description == "Invalid procedure call or argument"
    assert (error.source, error.helpfile, error.helpcontext) == ("", "", 0)
    assert str(error) == "Error 5: Invalid procedure call or argument"


def test_automation_error_survives_pickling():
    error = zv.AutomationError(1001, "Custom", "Src", "help.chm", 42)
    copy = pickle.loads(pickle.dumps(error))
    assert (copy.number, copy.description, copy.source, copy.helpfile, copy.helpcontext) == (
        1001, "Custom", "Src", "help.chm", 42)


def test_library_errors_carry_help_fields(files):
    with raises_error(449) as info:
        files.CheckPath()
    assert info.value.helpfile == ""
    assert info.value.helpcontext == 0
    assert info.value.description == "Argument not optional"
