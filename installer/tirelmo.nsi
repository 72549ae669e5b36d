; Tirelmo's installer: a per-user installation that needs no administrator rights.
;
; Built by the Win32 build when makensis is found (target "installer"); by hand:
;   makensis -INPUTCHARSET UTF8 -DVERSION=2.3.3.0 -DOUTFILE=Tirelmo-setup.exe \
;            -DFILE_LIST=installer_files.nsh -DICON=tirelmo.ico installer/tirelmo.nsi
; FILE_LIST is written by installer/file_list.cmake from the program folder.
;
; What it does: copies the program folder to %LOCALAPPDATA%\Programs\Tirelmo (Vornel.exe at
; the top, bin\Tirelmo.exe with its sounds and manual below), puts a shortcut to Vornel.exe
; in the Start menu, optionally has Tirelmo start with Windows, and registers an uninstaller
; in the per-user list of installed programs.
;
; Silent: Tirelmo-setup.exe /S [/RUNATSTARTUP] [/D=folder]   uninstall.exe /S
;
; What it never does: write into or delete from the user-data folder (%APPDATA%\Tirelmo,
; or wherever the settings point). The data and the settings live there, so installing a
; newer version over an older one, or uninstalling, leaves them as they are.

Unicode true

!ifndef VERSION | OUTFILE | FILE_LIST | ICON
  !error "makensis needs -DVERSION, -DOUTFILE, -DFILE_LIST and -DICON"
!endif

!define PRODUCT "Tirelmo"
; The maker, as the program names it (its update question, its web-site menu).
!define PUBLISHER "Morvex"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tirelmo"
; The program reads and writes this value itself (Settings, "start with Windows"), with the
; full path of Tirelmo.exe and no quotes; the installer writes it the same way, so the
; settings dialog shows the box ticked.
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Tirelmo"
; The main window's class: while a window of it exists the program's files are in use.
!define MAIN_WINDOW_CLASS "Tirelmo"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "Sections.nsh"
!include "${FILE_LIST}"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
; An update goes where the last installation went.
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
ManifestDPIAware true
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartInstalledProgram

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"

LangString SecProgramName ${LANG_ENGLISH} "Tirelmo"
LangString SecProgramName ${LANG_SIMPCHINESE} "Tirelmo"
; The words of the program's own settings dialog.
LangString SecRunName ${LANG_ENGLISH} "Run Tirelmo at startup"
LangString SecRunName ${LANG_SIMPCHINESE} "开机时启动 Tirelmo"
LangString MsgRunning ${LANG_ENGLISH} "Tirelmo is running. Exit Tirelmo, then choose Retry."
LangString MsgRunning ${LANG_SIMPCHINESE} "Tirelmo 正在运行。请退出 Tirelmo，然后选择“重试”。"
LangString MsgDataFolder ${LANG_ENGLISH} "$INSTDIR is Tirelmo's data folder or lies inside it. The program cannot be installed there; choose another folder."
LangString MsgDataFolder ${LANG_SIMPCHINESE} "$INSTDIR 是 Tirelmo 的数据文件夹或位于其中。程序不能安装在那里，请选择其他文件夹。"
LangString MsgLeftBehind ${LANG_ENGLISH} "$INSTDIR still holds files that were not installed with Tirelmo; the folder was left in place."
LangString MsgLeftBehind ${LANG_SIMPCHINESE} "$INSTDIR 中还有不是随 Tirelmo 安装的文件，因此保留了该文件夹。"

; Sets $R9 to 1 when $INSTDIR is the default user-data folder or a folder below it.
!macro INSTDIR_IN_DATA_FOLDER UN
Function ${UN}InstDirInDataFolder
  Push $0
  Push $1
  StrCpy $R9 0
  StrCpy $0 "$APPDATA\${PRODUCT}"
  StrLen $1 $0
  StrCpy $1 $INSTDIR $1
  ${If} $1 == $0  ; StrCmp ignores case, as Windows paths do
    StrLen $1 $0
    StrCpy $1 $INSTDIR 1 $1  ; the character after the common part
    ${If} $1 == ""
    ${OrIf} $1 == "\"
      StrCpy $R9 1
    ${EndIf}
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro INSTDIR_IN_DATA_FOLDER ""

; Waits until no Tirelmo runs: Windows would not let its files be replaced or deleted.
; Silent runs cannot ask and end with error level 2.
!macro WAIT_UNTIL_CLOSED UN
Function ${UN}WaitUntilClosed
  ${Do}
    FindWindow $0 "${MAIN_WINDOW_CLASS}"
    ${If} $0 = 0
      Return
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(MsgRunning)" /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Quit
    retry:
  ${Loop}
FunctionEnd
!macroend
!insertmacro WAIT_UNTIL_CLOSED ""
!insertmacro WAIT_UNTIL_CLOSED "un."

Section "$(SecProgramName)" SecProgram
  SectionIn RO
  Call InstDirInDataFolder
  ${If} $R9 = 1
    MessageBox MB_OK|MB_ICONSTOP "$(MsgDataFolder)" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  Call WaitUntilClosed

  !insertmacro TIRELMO_INSTALL_FILES
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; Vornel starts .\bin\Tirelmo.exe relative to the current folder, so the shortcut's
  ; working folder must be the program folder (CreateShortCut takes it from SetOutPath).
  SetOutPath "$INSTDIR"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Vornel.exe" "" "$INSTDIR\Vornel.exe" 0 \
      SW_SHOWNORMAL "" "Pomodoro timer and daily ToDo sheet"

  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\bin\Tirelmo.exe,0"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

; Off unless this installation already starts with Windows (see .onInit), so an update,
; silent or not, keeps what the person chose in the program's settings.
Section /o "$(SecRunName)" SecRun
  WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" "$INSTDIR\bin\Tirelmo.exe"
SectionEnd

Section "-RunAtStartupOff"
  ${IfNot} ${SectionIsSelected} ${SecRun}
    ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${If} $0 == "$INSTDIR\bin\Tirelmo.exe"
      DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${EndIf}
  ${EndIf}
SectionEnd

; /RUNATSTARTUP ticks "Run at startup" also for a silent installation (/S).
Function .onInit
  SetShellVarContext current
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $0 == "$INSTDIR\bin\Tirelmo.exe"
    !insertmacro SelectSection ${SecRun}
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/RUNATSTARTUP" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecRun}
  ${EndIf}
FunctionEnd

; Keeps the Next button off while the folder chosen is the data folder.
Function .onVerifyInstDir
  Call InstDirInDataFolder
  ${If} $R9 = 1
    Abort
  ${EndIf}
FunctionEnd

Function StartInstalledProgram
  SetOutPath "$INSTDIR"
  Exec '"$INSTDIR\Vornel.exe"'
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

; Removes what the installer put in place, file by file. The user-data folder is never named
; here: %APPDATA%\Tirelmo with the sheets, statistics, projects, logs and settings stays.
Section "Uninstall"
  Call un.WaitUntilClosed

  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  ; Only the value that starts this installation: another copy (a portable one) may own it.
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $0 == "$INSTDIR\bin\Tirelmo.exe"
  ${OrIf} $0 == '"$INSTDIR\bin\Tirelmo.exe"'
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}

  !insertmacro TIRELMO_UNINSTALL_FILES
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  ${If} ${FileExists} "$INSTDIR\*.*"
    DetailPrint "$(MsgLeftBehind)"
  ${EndIf}

  DeleteRegKey HKCU "${UNINST_KEY}"
SectionEnd
