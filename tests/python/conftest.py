import pytest

import zivoviviruvov as zv


@pytest.fixture
def files():
    return zv.CreateObject("ZivoviViruvov.FileLib")
