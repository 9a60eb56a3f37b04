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
        self.items = []
        self.Text = "selected"
        self.List = self.items
        self.lookup = {"k": "by key"}

    @property
    def ListCount(self):
        return len(self.items)

    def AddItem(self, item, index=None):
        self.items.insert(len(self.items) if index is None else index, item)
        return len(self.items) - 1


@pytest.fixture
def box():
    fake = FakeListBox()
    fake.AddItem("a")
    fake.AddItem("b")
    return fake


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
def test_get(box, name, kinds, args, expected):
    assert zv.invoke(box, name, kinds, *args) == expected


@pytest.mark.parametrize("args, kwargs, expected_items", [
    (("c",), {}, ["a", "b", "c"]),
    (("c", 0), {}, ["c", "a", "b"]),
    (("c",), {"index": 1}, ["a", "c", "b"]),       # named arguments go as keywords
])
def test_method_calls(box, args, kwargs, expected_items):
    zv.invoke(box, "additem", CALL, *args, **kwargs)
    assert box.items == expected_items


def test_put_sets_the_attribute_with_its_own_spelling_or_creates_it(box):
    assert zv.invoke(box, "TEXT", PUT, "new") is None
    zv.invoke(box, "Tag", PUT, 7)
    assert (box.Text, box.Tag) == ("new", 7)
    assert "TEXT" not in vars(box)


class Grid:
    def __init__(self):
        self.cells = {}
        self.SubItems = ["", "", ""]

    @property
    def TextMatrix(self):
        return self.cells

    def Add(self, relative=None, relationship=None, key="", text=""):
        return (relative, relationship, key, text)


def test_indexed_puts_go_through_setitem():
    grid = Grid()
    zv.invoke(grid, "SubItems", PUT, 1, "one")
    zv.invoke(grid, "TextMatrix", PUT, 2, 3, "cell")
    assert grid.SubItems == ["", "one", ""]
    assert grid.cells == {(2, 3): "cell"}
    assert zv.invoke(grid, "TextMatrix", GET, 2, 3) == "cell"
    with raises_error(438):
        zv.invoke(grid, "Missing", PUT, 0, "z")


def test_named_arguments_go_as_keywords():
    grid = Grid()
    assert zv.invoke(grid, "Add", CALL, None, 4, "k") == (None, 4, "k", "")
    assert zv.invoke(grid, "Add", CALL, text="t", key="k") == (None, None, "k", "t")


def test_unknown_member_fails_with_438_naming_it(box):
    with raises_error(438) as info:
        zv.invoke(box, "NoSuchThing", GET_OR_CALL)
    assert "FakeListBox.NoSuchThing" in info.value.description


def test_python_exception_becomes_error_440():
    class Failing:
        def Run(self):
            raise ValueError("bad value")

    with raises_error(440) as info:
        zv.invoke(Failing(), "Run", CALL)
    assert info.value.description == "bad value"
    assert info.value.source == "Failing"
    assert isinstance(info.value.__cause__, ValueError)


@pytest.mark.parametrize("number, expected", [(35602, 35602), ("12", 440), (True, 440), (0, 440)])
def test_python_exception_number_attribute(number, expected):
    class ControlError(Exception):
        pass

    def fail():
        error = ControlError("Key is not unique in collection")
        error.number = number
        raise error

    class Control:
        Add = staticmethod(fail)

    with raises_error(expected) as info:
        zv.invoke(Control(), "Add", CALL)
    assert info.value.description == "Key is not unique in collection"


def test_automation_error_from_python_keeps_its_number():
    raised = zv.AutomationError(1234, "Custom failure", "MyHost")

    class Failing:
        def Run(self):
            raise raised

    with raises_error(1234) as info:
        zv.invoke(Failing(), "Run", CALL)
    assert info.value is raised
    assert (info.value.description, info.value.source) == ("Custom failure", "MyHost")


def test_keyboard_interrupt_is_not_turned_into_an_automation_error():
    class Interrupted:
        def Run(self):
            raise KeyboardInterrupt

    with pytest.raises(KeyboardInterrupt):
        zv.invoke(Interrupted(), "Run", CALL)


def test_result_the_library_cannot_hold_fails_with_6():
    class Big:
        Value = 2 ** 40

    with raises_error(6):
        zv.invoke(Big(), "Value", GET)


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


@pytest.mark.parametrize("target, number", [(None, 91), (5, 424), ("text", 424)])
def test_invoke_needs_an_object(target, number):
    with raises_error(number):
        zv.invoke(target, "Anything", GET)


def test_invoke_on_a_library_object(files):
    assert zv.invoke(files, "CheckPath", CALL, "/a") == "/a/"
    assert zv.invoke(files, "checkpath", GET_OR_CALL, thePath="/b") == "/b/"
