"""The packages users get: the per-user installer (install, run, uninstall keeping the user's data)
and the portable zip, built by scripts/dist.sh from the build under test."""
import subprocess
import zipfile

import pytest

import storedform
from harness import BUILD, EXE, ROOT, TITLE, Yarrowkit, hexed, unhexed, wait_for

UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Yarrowkit"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
RUNS_KEY = r"HKCU\Software\Tamberlyn\YarrowKit"
NSIS_ABORTED = 2


@pytest.fixture(scope="module")
def packages(tmp_path_factory):
    out = tmp_path_factory.mktemp("dist")
    built = subprocess.run([str(ROOT / "scripts" / "dist.sh"), str(BUILD), str(out)], timeout=300,
                           capture_output=True, text=True)
    assert built.returncode == 0, built.stderr
    return {"setup": out / "yarrowkit-1.4-setup.exe", "zip": out / "yarrowkit-1.4-portable.zip"}


class Installed:
    """Where the installer put things, as its uninstall entry says."""

    def __init__(self, session):
        self.session = session
        self.folder_windows = session.reg_query(UNINSTALL_KEY, "InstallLocation")
        self.folder = session.unix_path(self.folder_windows) if self.folder_windows else None

    @property
    def exe_windows(self):
        return self.folder_windows + r"\yarrowkit.exe"

    def entry(self, value):
        return self.session.reg_query(UNINSTALL_KEY, value)


def install(session, setup):
    assert session.wine(setup, "/S").wait(timeout=120) == 0
    return Installed(session)


def version_string(client, path, name):
    value = client.call("version_string", hexed(path), name)
    return None if value == "-" else unhexed(value).decode("latin-1")


def test_portable_zip_is_the_exe_and_a_readme(packages):
    with zipfile.ZipFile(packages["zip"]) as archive:
        assert sorted(archive.namelist()) == ["README.txt", "yarrowkit.exe"]
        assert archive.read("yarrowkit.exe") == EXE.read_bytes()
        readme = archive.read("README.txt").decode("latin-1")
    assert "%APPDATA%\\YarrowKit\\config.cfg" in readme and "\r\n" in readme


def test_install_carries_the_exe_with_its_version_and_manifest(session, client, packages):
    installed = install(session, packages["setup"])
    assert installed.folder_windows.lower().endswith(r"\appdata\local\programs\yarrowkit")
    assert (installed.folder / "yarrowkit.exe").read_bytes() == EXE.read_bytes()
    assert (installed.folder / "uninstall.exe").is_file()
    shortcut = session.appdata / "Microsoft" / "Windows" / "Start Menu" / "Programs" / "Yarrowkit.lnk"
    assert b"yarrowkit.exe" in shortcut.read_bytes().replace(b"\0", b"").lower()

    assert installed.entry("DisplayName") == "Yarrowkit"
    assert installed.entry("DisplayVersion") == "1.4"
    assert installed.entry("Publisher") == "Tamberlyn"
    assert installed.entry("UninstallString") == f'"{installed.folder_windows}\\uninstall.exe"'
    assert installed.entry("QuietUninstallString") == f'"{installed.folder_windows}\\uninstall.exe" /S'

    exe = installed.exe_windows
    assert client.call("file_version", hexed(exe)) == "1.4.0.0 1.4.0.0"
    assert version_string(client, exe, "ProductName") == "Yarrowkit"
    assert version_string(client, exe, "CompanyName") == "Tamberlyn"
    assert version_string(client, exe, "FileDescription") == "Yarrowkit clipboard history"
    manifest = unhexed(client.call("manifest", hexed(exe))).decode("utf-8")
    assert 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' in manifest
    assert ">true</dpiAware>" in manifest and "dpiAwareness" not in manifest
    assert 'level="asInvoker"' in manifest


def test_uninstall_closes_the_running_copy_and_keeps_the_users_data(session, client, packages):
    installed = install(session, packages["setup"])
    app = Yarrowkit(session, client, exe=installed.folder / "yarrowkit.exe").start()
    assert client.call("tray_has", f"{app.window:x}", 1) == "1"
    client.copy_text("kept after uninstall")
    history = session.config_folder / "vorla.sql"
    wait_for(lambda: history.exists() and storedform.sqlite(history, "SELECT count(*) FROM Log;") == [b"1"], 15,
             what="the copy in the history")
    # A history moved next to the program (Database page) is the user's too.
    (installed.folder / "moved.sql").write_bytes(history.read_bytes())
    subprocess.run(["wine", "reg", "add", RUN_KEY, "/v", "yarrowkit", "/d", installed.exe_windows, "/f"],
                   env=session.env, check=True, capture_output=True, timeout=60)

    assert session.wine(installed.folder / "uninstall.exe", "/S").wait(timeout=60) == 0
    # The uninstaller goes on from a copy of itself in the temp folder.
    wait_for(lambda: installed.entry("DisplayName") is None, 60, what="the uninstall entry removed")
    assert app.wait_exit(30) == 0
    assert sorted(p.name for p in installed.folder.iterdir()) == ["moved.sql"]
    assert not (session.appdata / "Microsoft" / "Windows" / "Start Menu" / "Programs" / "Yarrowkit.lnk").exists()
    assert session.reg_query(RUN_KEY, "yarrowkit") is None

    assert (session.config_folder / "config.cfg").is_file(), "the quiet close wrote the settings"
    assert storedform.read_rows(history)[0]["Text"] == b"kept after uninstall\0"
    assert session.reg_query(RUNS_KEY, "runs") is not None


def test_uninstall_refuses_when_yarrowkit_does_not_close(session, client, packages):
    installed = install(session, packages["setup"])
    client.call("make_window", hexed(TITLE))  # holds the title and ignores the close request
    # _?= keeps the uninstaller in place, so its exit code is the answer.
    uninstall = session.wine(installed.folder / "uninstall.exe", "/S", f"_?={installed.folder_windows}")
    assert uninstall.wait(timeout=60) == NSIS_ABORTED
    assert (installed.folder / "yarrowkit.exe").is_file()
    assert installed.entry("DisplayName") == "Yarrowkit"
    assert "1030,0,0" in client.call("received").split(), "the quiet close was asked for"
