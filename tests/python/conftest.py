import pytest

import zivoviviruvov as zv


@pytest.fixture(autouse=True)
def isolated_home(tmp_path, monkeypatch):
    """Every test gets its own home, trash, recent list, registry store and ppp peers."""
    home = tmp_path / "home"
    home.mkdir()
    monkeypatch.setenv("HOME", str(home))
    monkeypatch.setenv("XDG_DATA_HOME", str(home / ".local" / "share"))
    monkeypatch.setenv("XDG_CONFIG_HOME", str(home / ".config"))
    monkeypatch.setenv("ZV_REGISTRY", str(tmp_path / "registry.db"))
    monkeypatch.setenv("ZV_PPP_PEERS", str(tmp_path / "peers"))
    return home


@pytest.fixture
def files():
    return zv.CreateObject("ZivoviViruvov.FileLib")
