"""Installing and removing the message box handler.

The boxes members show (import, export and tree methods) are checked with those members,
through the `boxes` fixture of conftest.py; this case covers installing the handler.
"""

import pytest

import zivoviviruvov as zv


def test_set_returns_the_handler_it_replaces_and_refuses_what_is_not_callable():
    def first(text, title, style):
        return 1

    def second(text, title, style):
        return None

    try:
        assert zv.set_message_handler(first) is None
        assert zv.set_message_handler(second) is first
        for not_callable in (1, "handler", [print]):
            with pytest.raises(TypeError):
                zv.set_message_handler(not_callable)
        assert zv.set_message_handler(None) is second
        assert zv.set_message_handler(None) is None
    finally:
        zv.set_message_handler(None)
