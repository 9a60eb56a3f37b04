"""The Python module from 8 threads at once, each with its own objects, folder, archive and
registry key: every thread's results must equal those of the same work done alone, and each
thread's tree progress object must move that thread's bar only. Threads are switched as often
as the interpreter allows, so their calls interleave."""
import sys
from concurrent.futures import ThreadPoolExecutor

import zivoviviruvov as zv

THREADS, ROUNDS = 8, 3
HKCU = -(2**31) + 1
CITIES = ("Caf\u00e9", "Lyon")


def work(folder, t, rnd):
    out = []
    s = zv.CreateObject("ZivoviViruvov.StrChr")
    text = f"alpha|b{t}|gamma|\u00c9l\u00e9phant  x"
    out += [s.GetLastRight(text, "|"), s.CountItem(text, "|"), s.RemoveAccent(text)]
    coll = zv.Collection()
    s.ItemsToCollection(f"x]|[y]|[z{t}", coll)
    out += [len(coll), coll.Item(3)]
    html = zv.CreateObject("ZivoviViruvov.HTMlib")
    raw = f"<b>Caf\u00e9</b> http://x.org/{t} a@b.fr"
    out.append(html.ReplaceTXTcharToHTMLchar(raw, True, True, True))
    time = zv.CreateObject("ZivoviViruvov.TimeLib")
    out += [time.AddOrSubHour("10:20:30", f"01:50:4{t}"), time.DayNameOfWeek(f"12/2{t}/2020")]
    money = zv.CreateObject("ZivoviViruvov.MoneyLib")
    out.append(money.FormatDoubleString(f"{1234.5 + t}", "#,##0.00"))
    system = zv.CreateObject("ZivoviViruvov.SystemLib")
    out += [system.GetLocaleLongDate(lcid) for lcid in (1033, 1036, 1031)]

    files = zv.CreateObject("ZivoviViruvov.FileLib")
    name = str(folder / "text.txt")
    box = zv.TextBox()
    box.Text = "".join(f"line {i} \u00e9\r\n" for i in range(20 + t))
    out += [files.SaveTextBoxContent(name, box), files.GetThisLineFile(name, 7 + t),
            files.GetLineIfTextExist(name, f"line 1{t}"), files.GetFileContent(name)]

    rows = "".join(f"name{i};{CITIES[i % 3 > 0]};{i * (t + 1)}\r\n" for i in range(30 + t))
    (folder / "in.txt").write_bytes(("Name;City;Amount\r\n" + rows).encode("latin-1"))
    lib = zv.CreateObject("ZivoviViruvov.LstViewLib")
    view = zv.ListView()
    out.append(lib.LoadListViewFromASCII(str(folder / "in.txt"), view, True, theSeparator=";"))
    out += [view.ListItems.Count, lib.FindItemFromText(view, f"name{t}"),
            lib.CountStringFromColumn(view, "LYON", 1)]
    for export, file in ((lib.ListViewToASCII, "out.txt"), (lib.ListViewToXMLfile, "out.xml")):
        out += [export(str(folder / file), view), (folder / file).read_bytes()]

    trees = zv.CreateObject("ZivoviViruvov.TrViewLib")
    tree = zv.TreeView()
    tree.ImageList = zv.ImageList()
    for key in ("open", "leaf"):
        tree.ImageList.ListImages.Add(Key=key)
    for i in range(10 + t):
        if i % 4 == 0:
            parent = f"r{i}"
            tree.Nodes.Add(None, None, parent, f"node {i}", "leaf")
        else:
            out.append(trees.CreateChildNode(tree, parent, f"node {i}", "open"))
    bar = zv.ProgressBar()
    trees.SetProgressBar(bar)
    xml = folder / "tree.xml"
    out += [trees.TreeViewToXMLfile(tree, str(xml), "App"), bar.Max, bar.Value,
            trees.SearchNodeFromText(tree, "node 5"), xml.read_bytes()]

    z, u = zv.CreateObject("ZivoviViruvov.ZipLib"), zv.CreateObject("ZivoviViruvov.UnZipLib")
    z.ZipFile = u.ZipFile = str(folder / "files.zip")
    z.AddFileSpec(str(folder / "*.txt"))
    z.Zip()
    out += [u.Directory(), [(u.Filename(i), u.FileSize(i)) for i in range(1, u.FileCount + 1)]]
    u.UnzipFolder = str(folder / "unzipped")
    out += [u.Unzip(), (folder / "unzipped" / "in.txt").read_bytes()]

    reg = zv.CreateObject("ZivoviViruvov.RegistryLib")
    key = f"Software\\ZvLoad\\T{t}"
    reg.WriteRegistryCurrentUser(key, f"v{rnd}", f"v{rnd} of {key}")
    out.append(reg.ReadRegistryCurrentUser(key, f"v{rnd}") == f"v{rnd} of {key}")
    out.append(len(reg.EnumerateRegistryValues(key, HKCU)) == rnd + 1)
    return out


def rounds(folder, t):
    folder.mkdir()
    return [work(folder, t, rnd) for rnd in range(ROUNDS)]


def test_threads_get_exactly_what_each_gets_alone(tmp_path, monkeypatch):
    for variable in ("HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"):
        monkeypatch.setenv(variable, str(tmp_path))
    monkeypatch.setenv("ZV_REGISTRY", str(tmp_path / "crowd.db"))
    interval = sys.getswitchinterval()
    sys.setswitchinterval(1e-6)
    try:
        with ThreadPoolExecutor(THREADS) as pool:
            crowd = list(pool.map(lambda t: rounds(tmp_path / f"t{t}", t), range(THREADS)))
    finally:
        sys.setswitchinterval(interval)
    # Alone, on a fresh registry store: the keys fill up round by round as they did.
    monkeypatch.setenv("ZV_REGISTRY", str(tmp_path / "alone.db"))
    for t in range(THREADS):
        assert crowd[t] == rounds(tmp_path / f"alone{t}", t), f"thread {t}"
