; Per-user installer of Yarrowkit: no elevation, one folder under %LOCALAPPDATA%\Programs, a Start
; menu entry and an uninstaller registered for the current user. Built by scripts/dist.sh:
;   makensis -DEXE=... -DICON=... -DOUTFILE=... -DVERSION=1.4 -DVERSION_FULL=1.4.0.0 yarrowkit.nsi
; The history and the settings live in %APPDATA%\YarrowKit and belong to the user: nothing here
; touches them, not even the uninstaller.

Unicode true
Target amd64-unicode

!include "MUI2.nsh"
!include "LogicLib.nsh"

!define PRODUCT "Yarrowkit"
!define PUBLISHER "Tamberlyn"
!define HOME_PAGE "https://yarrowkit.tamberlyn.example/"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Yarrowkit"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The main window's title is the program's single-instance key; message 0x406 closes it at once,
; without a question.
!define MAIN_WINDOW_TITLE "Yarrowkit. Select item to paste or copy."
!define WM_CLOSE_QUIETLY 0x406
!define CLOSE_WAIT_STEPS 40  ; of 250 ms

Name "${PRODUCT}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Yarrowkit"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION_FULL}"
VIFileVersion "${VERSION_FULL}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION_FULL}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION_FULL}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\yarrowkit.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
!define MUI_FINISHPAGE_TEXT "${PRODUCT} has been installed. It lives in the notification area of the taskbar: click its icon or press Ctrl+D to see your clipboard history."

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Closes a running copy (its executable cannot be replaced or removed while it runs) and waits
; until its window is gone; sets the error flag when it does not close in time.
!macro DEFINE_CLOSE_RUNNING_COPY PREFIX
Function ${PREFIX}CloseRunningCopy
  ClearErrors
  FindWindow $0 "" "${MAIN_WINDOW_TITLE}"
  ${If} $0 = 0
    Return
  ${EndIf}
  DetailPrint "Closing the running ${PRODUCT}..."
  SendMessage $0 ${WM_CLOSE_QUIETLY} 0 0 /TIMEOUT=5000
  StrCpy $1 0
  ${Do}
    Sleep 250
    FindWindow $0 "" "${MAIN_WINDOW_TITLE}"
    ${If} $0 = 0
      ; The window goes first; give the process a moment to let go of its executable.
      Sleep 500
      Return
    ${EndIf}
    IntOp $1 $1 + 1
  ${LoopUntil} $1 >= ${CLOSE_WAIT_STEPS}
  SetErrors
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_RUNNING_COPY ""
!insertmacro DEFINE_CLOSE_RUNNING_COPY "un."

Section "Yarrowkit"
  Call CloseRunningCopy
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONEXCLAMATION "${PRODUCT} is running and did not close.$\r$\nPlease close it (tray icon, Exit) and run the setup again." /SD IDOK
    Abort "${PRODUCT} is still running."
  ${EndIf}

  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "/oname=yarrowkit.exe" "${EXE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\yarrowkit.exe" "" "$INSTDIR\yarrowkit.exe" 0 \
    SW_SHOWNORMAL "" "Clipboard history: Ctrl+D shows it"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "${HOME_PAGE}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\yarrowkit.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

; A process that has just closed its window may hold its executable for a moment longer.
Function un.DeleteExecutable
  StrCpy $1 0
  ${Do}
    ClearErrors
    Delete "$INSTDIR\yarrowkit.exe"
    ${IfNot} ${Errors}
      Return
    ${EndIf}
    Sleep 250
    IntOp $1 $1 + 1
  ${LoopUntil} $1 >= ${CLOSE_WAIT_STEPS}
  SetErrors
FunctionEnd

Section "Uninstall"
  Call un.CloseRunningCopy
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONEXCLAMATION "${PRODUCT} is running and did not close.$\r$\nPlease close it (tray icon, Exit) and run the uninstaller again. Nothing was removed." /SD IDOK
    Abort "${PRODUCT} is still running."
  ${EndIf}

  ; Only what setup put there: a history moved into this folder (Database page) stays with it.
  Call un.DeleteExecutable
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONEXCLAMATION "$INSTDIR\yarrowkit.exe is in use and could not be removed.$\r$\nPlease close every copy of ${PRODUCT} and run the uninstaller again." /SD IDOK
    Abort "$INSTDIR\yarrowkit.exe is in use."
  ${EndIf}
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  SetShellVarContext current
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  ; Start with Windows points at the executable that is gone now; another copy's entry stays.
  ReadRegStr $0 HKCU "${RUN_KEY}" "yarrowkit"
  ${If} $0 == "$INSTDIR\yarrowkit.exe"
    DeleteRegValue HKCU "${RUN_KEY}" "yarrowkit"
  ${EndIf}
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
