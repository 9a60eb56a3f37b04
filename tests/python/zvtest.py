"""Helpers shared by the Python tests."""

import contextlib

import pytest

import zivoviviruvov as zv


@contextlib.contextmanager
def raises_error(number):
    """Expects an AutomationError with this number; yields pytest's ExceptionInfo."""
    with pytest.raises(zv.AutomationError) as info:
        yield info
    assert info.value.number == number, str(info.value)
