"""Parameter defaults written back as text: as VB declares them (the reference pages) and as
Python literals (the type stubs)."""
VB_CONSTANTS = {"\r\n": "vbCrLf", "\r": "vbCr", "\n": "vbLf", "\t": "vbTab"}


class StrDefault(str):
    """A String default (distinguishes "Nothing" the keyword from the text)."""


def vb_literal(default):
    """A default as a VB declaration writes it: True, 12, "text", vbCrLf, "a" & vbTab."""
    if isinstance(default, StrDefault):
        pieces, text = [], ""
        i = 0
        while i < len(default):
            constant = next((c for c in VB_CONSTANTS if default.startswith(c, i)), None)
            if constant or ord(default[i]) < 0x20:
                if text:
                    pieces.append('"' + text.replace('"', '""') + '"')
                    text = ""
                pieces.append(VB_CONSTANTS.get(constant) or f"Chr({ord(default[i])})")
                i += len(constant or default[i])
            else:
                text += default[i]
                i += 1
        if text or not pieces:
            pieces.append('"' + text.replace('"', '""') + '"')
        return " & ".join(pieces)
    if isinstance(default, bool):
        return "True" if default else "False"
    return str(default)  # numbers and Nothing


def python_literal(default):
    """A default as a Python literal, or None when the parameter is passed as missing."""
    if default is None:
        return None
    if isinstance(default, StrDefault):
        return repr(str(default))
    if default == "Nothing":
        return "None"
    return repr(default)
