import sys
from pathlib import Path

import pytest

import zivoviviruvov as zv

# The readers of the case tables in tests/cases, which the Wine run uses too.
CASES = Path(__file__).resolve().parent.parent / "cases"
sys.path[:0] = [str(CASES), str(CASES / "trees"), str(CASES / "tree_xml")]


@pytest.fixture(autouse=True)
def isolated_home(tmp_path_factory, monkeypatch):
    """Every test gets its own home, trash, recent list, registry store and ppp peers, beside
    (not inside) its tmp_path."""
    base = tmp_path_factory.mktemp("env")
    home = base / "home"
    home.mkdir()
    monkeypatch.setenv("HOME", str(home))
    monkeypatch.setenv("XDG_DATA_HOME", str(home / ".local" / "share"))
    monkeypatch.setenv("XDG_CONFIG_HOME", str(home / ".config"))
    monkeypatch.setenv("ZV_REGISTRY", str(base / "registry.db"))
    monkeypatch.setenv("ZV_PPP_PEERS", str(base / "peers"))
    return home


@pytest.fixture
def files():
    return zv.CreateObject("ZivoviViruvov.FileLib")


@pytest.fixture
def boxes():
    """The message boxes shown during the test, as (title, text)."""
    shown = []
    zv.set_message_handler(lambda text, title, style: shown.append((title, text)) or 1)
    yield shown
    zv.set_message_handler(None)


@pytest.fixture
def reports():
    """The messages of the error reports the library made during the test."""
    made = []
    zv.set_report_handler(lambda message, shown: made.append(message))
    yield made
    zv.set_report_handler(None)
