import subprocess
import zipfile

import storedform
from harness import BUILD, EXE, ROOT, TITLE, Client, Yarrowkit, hexed, wait_for

UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Yarrowkit"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
NSIS_ABORTED, QUIET_CLOSE_RECEIVED = 2, "1030,0,0"


def test_install_run_and_uninstall(session, client, tmp_path):
    """- the portable zip holds the exe under test and a README
    - the per-user install: folder, exe, uninstaller, Start menu shortcut, uninstall entry
    - the uninstaller refuses while a Yarrowkit window does not close, after asking for a quiet close
    - it closes the running copy quietly, removes its files, shortcut and Run entry, keeps the user's data"""
    built = subprocess.run([str(ROOT / "scripts" / "dist.sh"), str(BUILD), str(tmp_path)], timeout=300,
                           capture_output=True, text=True)
    assert built.returncode == 0, built.stderr
    with zipfile.ZipFile(tmp_path / "yarrowkit-1.4-portable.zip") as archive:
        assert sorted(archive.namelist()) == ["README.txt", "yarrowkit.exe"]
        assert archive.read("yarrowkit.exe") == EXE.read_bytes()
    reg = session.reg_query
    assert session.wine(tmp_path / "yarrowkit-1.4-setup.exe", "/S").wait(timeout=120) == 0
    folder_windows = reg(UNINSTALL_KEY, "InstallLocation")
    folder, exe, uninstaller = session.unix_path(folder_windows), folder_windows + r"\yarrowkit.exe", \
        f'"{folder_windows}\\uninstall.exe"'
    assert folder_windows.lower().endswith(r"\appdata\local\programs\yarrowkit")
    assert (folder / "yarrowkit.exe").read_bytes() == EXE.read_bytes() and (folder / "uninstall.exe").is_file()
    shortcut = session.appdata / "Microsoft" / "Windows" / "Start Menu" / "Programs" / "Yarrowkit.lnk"
    assert b"yarrowkit.exe" in shortcut.read_bytes().replace(b"\0", b"").lower()
    assert [reg(UNINSTALL_KEY, v) for v in ("UninstallString", "QuietUninstallString")] == [uninstaller,
                                                                                          uninstaller + " /S"]

    stubborn = Client(session)
    stubborn.call("make_window", hexed(TITLE))  # holds the title and ignores the close request
    # _?= keeps the uninstaller in place, so its exit code is the answer.
    assert session.wine(folder / "uninstall.exe", "/S", f"_?={folder_windows}").wait(timeout=60) == NSIS_ABORTED
    assert (folder / "yarrowkit.exe").is_file() and reg(UNINSTALL_KEY, "DisplayName") == "Yarrowkit"
    assert QUIET_CLOSE_RECEIVED in stubborn.call("received").split()
    stubborn.close()

    app = Yarrowkit(session, client, exe=folder / "yarrowkit.exe").start()
    assert client.on("tray_has", app.window, 1) == "1"
    client.copy_text("kept after uninstall")
    history = session.config_folder / "vorla.sql"
    wait_for(lambda: history.exists() and storedform.read_rows(history), 15, what="the copy in the history")
    (folder / "moved.sql").write_bytes(history.read_bytes())  # a history moved next to the program is the user's too
    subprocess.run(["wine", "reg", "add", RUN_KEY, "/v", "yarrowkit", "/d", exe, "/f"], env=session.env, check=True,
                   capture_output=True, timeout=60)
    assert session.wine(folder / "uninstall.exe", "/S").wait(timeout=60) == 0
    # The uninstaller goes on from a copy of itself in the temp folder.
    wait_for(lambda: reg(UNINSTALL_KEY, "DisplayName") is None, 60, what="the uninstall entry removed")
    assert app.wait_exit(30) == 0
    assert sorted(p.name for p in folder.iterdir()) == ["moved.sql"]
    assert not shortcut.exists() and reg(RUN_KEY, "yarrowkit") is None
    assert (session.config_folder / "config.cfg").is_file(), "the quiet close wrote the settings"
    assert storedform.read_rows(history)[0]["Text"] == b"kept after uninstall\0"
    assert reg(r"HKCU\Software\Tamberlyn\YarrowKit", "runs") is not None
