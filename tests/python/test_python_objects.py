"""Plain Python objects where the library expects a caller's object.

zv.invoke makes exactly the late-bound call the library makes on a caller's control, so
these cases run the same adapter the library's own routines go through.
"""

import pytest

import zivoviviruvov as zv
from zvtest import raises_error

GET, PUT, CALL = zv.DISPATCH_PROPERTYGET, zv.DISPATCH_PROPERTYPUT, zv.DISPATCH_METHOD
GET_OR_CALL = GET | CALL


class FakeListBox:
    """What the library reads of a list box, written the Python way."""

    def __init__(self):
        self.items = ["a", "b"]
        self.Text = "selected"
        self.List = self.items
        self.lookup = {"k": "by key"}
        self.cells = {}

    @property
    def ListCount(self):
        return len(self.items)

    @property
    def TextMatrix(self):
        return self.cells

    def AddItem(self, item, index=None):
        self.items.insert(len(self.items) if index is None else index, item)
        return len(self.items) - 1


@pytest.mark.parametrize("name, kinds, args, expected", [
    ("Text", GET, (), "selected"),
    ("TEXT", GET_OR_CALL, (), "selected"),         # names ignore case
    ("listcount", GET_OR_CALL, (), 2),             # a Python property
    ("List", GET_OR_CALL, (1,), "b"),              # an attribute with an index is indexed
    ("LOOKUP", GET, ("k",), "by key"),
    ("ListCount", GET, (5,), 2),                   # not indexable: the value itself
    ("Text", GET, (1,), "e"),                      # a str is indexable
    ("List", GET, (), ("a", "b")),                 # a list reads as an array
])
def test_get(name, kinds, args, expected):
    assert zv.invoke(FakeListBox(), name, kinds, *args) == expected


@pytest.mark.parametrize("args, kwargs, expected_items", [
    (("c",), {}, ["a", "b", "c"]),
    (("c", 0), {}, ["c", "a", "b"]),
    (("c",), {"index": 1}, ["a", "c", "b"]),       # named arguments go as keywords
])
def test_method_calls(args, kwargs, expected_items):
    box = FakeListBox()
    zv.invoke(box, "additem", CALL, *args, **kwargs)
    assert box.items == expected_items


def test_puts_keep_the_attributes_spelling_index_through_setitem_or_create_it():
    box = FakeListBox()
    assert zv.invoke(box, "TEXT", PUT, "new") is None
    zv.invoke(box, "Tag", PUT, 7)
    zv.invoke(box, "List", PUT, 1, "one")
    zv.invoke(box, "TextMatrix", PUT, 2, 3, "cell")
    assert (box.Text, box.Tag, box.items, box.cells) == ("new", 7, ["a", "one"], {(2, 3): "cell"})
    assert "TEXT" not in vars(box)
    assert zv.invoke(box, "TextMatrix", GET, 2, 3) == "cell"
    with raises_error(438):
        zv.invoke(box, "Missing", PUT, 0, "z")
    with raises_error(438) as info:
        zv.invoke(box, "NoSuchThing", GET_OR_CALL)
    assert "FakeListBox.NoSuchThing" in info.value.description


class ControlError(Exception):
    pass


def control_error(number):
    error = ControlError("Key is not unique in collection")
    error.number = number
    return error


CUSTOM = zv.AutomationError(1234, "Custom failure", "MyHost")


# What a callee raises, the error the caller gets: its number, description and source.
@pytest.mark.parametrize("raised, number, description, source", [
    (ValueError("bad value"), 440, "bad value", "Control"),
    (control_error(35602), 35602, "Key is not unique in collection", "Control"),
    (control_error("12"), 440, "Key is not unique in collection", "Control"),  # only an int
    (control_error(True), 440, "Key is not unique in collection", "Control"),
    (control_error(0), 440, "Key is not unique in collection", "Control"),
    (CUSTOM, 1234, "Custom failure", "MyHost"),
])
def test_callee_exceptions_become_automation_errors(raised, number, description, source):
    class Control:
        def Run(self):
            raise raised

    with raises_error(number) as info:
        zv.invoke(Control(), "Run", CALL)
    assert (info.value.description, info.value.source) == (description, source)
    if raised is CUSTOM:
        assert info.value is CUSTOM
    else:
        assert info.value.__cause__ is raised


def test_keyboard_interrupt_and_values_the_library_cannot_hold():
    class Callee:
        Value = 2 ** 40

        def Run(self):
            raise KeyboardInterrupt

    with pytest.raises(KeyboardInterrupt):
        zv.invoke(Callee(), "Run", CALL)
    with raises_error(6):
        zv.invoke(Callee(), "Value", GET)


def test_callee_may_call_back_into_the_library():
    class Host:
        def __init__(self):
            self.coll = zv.Collection()

        def Fill(self, count):
            for i in range(count):
                self.coll.Add(i)
            return self.coll.Count

        def Fail(self):
            return self.coll.Item(99)

    host = Host()
    assert zv.invoke(host, "Fill", CALL, 3) == 3
    # The library's error inside the callee reaches the outer caller with its own number.
    with raises_error(9):
        zv.invoke(host, "Fail", CALL)


def test_invoke_needs_an_object_and_takes_a_library_object(files):
    for target, number in [(None, 91), (5, 424), ("text", 424)]:
        with raises_error(number):
            zv.invoke(target, "Anything", GET)
    assert zv.invoke(files, "CheckPath", CALL, "/a") == "/a/"
    assert zv.invoke(files, "checkpath", GET_OR_CALL, thePath="/b") == "/b/"
