"""Installing and removing the message box handler.

The boxes members show (import, export and tree methods) are checked with those members,
through the `boxes` fixture of conftest.py; these cases cover installing the handler.
"""

import pytest

import zivoviviruvov as zv


@pytest.fixture(autouse=True)
def restore_default():
    yield
    zv.set_message_handler(None)


def test_set_returns_the_handler_it_replaces():
    def first(text, title, style):
        return 1

    def second(text, title, style):
        return None

    assert zv.set_message_handler(first) is None
    assert zv.set_message_handler(second) is first
    assert zv.set_message_handler(None) is second
    assert zv.set_message_handler(None) is None


@pytest.mark.parametrize("not_callable", [1, "handler", [print]])
def test_handler_must_be_callable(not_callable):
    def kept(text, title, style):
        return 1

    zv.set_message_handler(kept)
    with pytest.raises(TypeError):
        zv.set_message_handler(not_callable)
    assert zv.set_message_handler(None) is kept


def test_library_works_with_a_handler_installed(files):
    calls = []
    zv.set_message_handler(lambda *box: calls.append(box))
    assert files.CheckPath("/tmp") == "/tmp/"
    assert files.isFileExist("") is False
    assert calls == []                  # nothing here shows a box
