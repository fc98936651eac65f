; Wendle's installer: a per-user install that needs no administrator.
;
; Built by packaging/make_packages.cmake, which stages the files and passes
;   VERSION       the version, as the program shows it ("1.0")
;   VERSION_QUAD  the same as four numbers ("1.0.0.0")
;   ARCH          x64 or x86
;   STAGE         the staged folder: the program, its DLLs, WD.CHM,
;                 LICENSE.txt and Demo\
;   FILES_NSH     the staged files as install and uninstall macros
;   APP_ICON      the program's icon
;   OUTFILE       the installer to write
;
; Command line of the installer: /S silent, /D=folder (last, unquoted).
; Of the uninstaller: /S silent; /REMOVESETTINGS also removes the user's
; settings (the uninstaller asks when it is not silent, and keeps them
; when it is silent and the switch is not given).

!if "${ARCH}" == "x64"
  Target amd64-unicode
!else
  Target x86-unicode
!endif

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "${FILES_NSH}"

!define PRODUCT "Wendle"
!define COMPANY "Orvane Software"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Wendle"
!define SETTINGS_KEY "Software\Orvane Software\Wendle"
!define MAKER_KEY "Software\Orvane Software"
!define PROGID "Wendle.List"
!define CLASSES "Software\Classes"
!define SHORTCUT "$SMPROGRAMS\Wendle.lnk"
; Wendle's main window class: files of a running Wendle cannot be replaced
; or removed.
!define MAIN_WINDOW_CLASS "RI32Duver"
; SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, NULL, NULL)
!define NOTIFY_ASSOCIATIONS "shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Wendle"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} Setup (${ARCH})"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) ${COMPANY}"

!define MUI_ICON "${APP_ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\wendle.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Wendle"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

!macro REFUSE_WHILE_WENDLE_RUNS
  FindWindow $0 "${MAIN_WINDOW_CLASS}"
  ${If} $0 <> 0
    MessageBox MB_OK|MB_ICONEXCLAMATION "Wendle is running. Please close it, then try again." /SD IDOK
    Abort
  ${EndIf}
!macroend

; Earlier builds installed their help as WD.HLP, which Windows Help
; (WinHlp32) indexes into WD.GID beside it; WD.CHM replaces both, so an
; install over such a build and the uninstall remove them.
!macro REMOVE_WINHELP_FILES
  Delete "$INSTDIR\WD.HLP"
  Delete "$INSTDIR\WD.GID"
!macroend

Function .onInit
  SetShellVarContext current
  !insertmacro REFUSE_WHILE_WENDLE_RUNS
FunctionEnd

Section "Wendle" SecWendle
  SectionIn RO
  SetShellVarContext current

  SetOutPath "$INSTDIR"
  !insertmacro WENDLE_INSTALL_FILES
  !insertmacro REMOVE_WINHELP_FILES
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The shortcut starts Wendle in its own folder.
  SetOutPath "$INSTDIR"
  CreateShortCut "${SHORTCUT}" "$INSTDIR\wendle.exe" "" "$INSTDIR\wendle.exe" 0 \
    SW_SHOWNORMAL "" "Plays lists of sounds, music and videos"

  ; List files (.WDL) open in Wendle.
  WriteRegStr HKCU "${CLASSES}\.wdl" "" "${PROGID}"
  WriteRegStr HKCU "${CLASSES}\.wdl\OpenWithProgids" "${PROGID}" ""
  WriteRegStr HKCU "${CLASSES}\${PROGID}" "" "Wendle List"
  WriteRegStr HKCU "${CLASSES}\${PROGID}" "FriendlyTypeName" "Wendle List"
  WriteRegStr HKCU "${CLASSES}\${PROGID}\DefaultIcon" "" "$INSTDIR\wendle.exe,0"
  WriteRegStr HKCU "${CLASSES}\${PROGID}\shell" "" "open"
  WriteRegStr HKCU "${CLASSES}\${PROGID}\shell\open\command" "" '"$INSTDIR\wendle.exe" "%1"'
  System::Call "${NOTIFY_ASSOCIATIONS}"

  ; Apps & features.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\wendle.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  SetShellVarContext current
  !insertmacro REFUSE_WHILE_WENDLE_RUNS
FunctionEnd

; The settings go when the command line says so, or when the user agrees;
; a silent uninstall without the switch keeps them.
Function un.RemoveSettingsWanted
  ${un.GetParameters} $R0
  ClearErrors
  ${un.GetOptions} $R0 "/REMOVESETTINGS" $R1
  ${IfNot} ${Errors}
    Push 1
    Return
  ${EndIf}
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
    "Do you also want to remove your Wendle settings (options, hot keys, window position) and the CD catalog in the program folder?" \
    /SD IDNO IDYES remove
  Push 0
  Return
remove:
  Push 1
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  Call un.RemoveSettingsWanted
  Pop $0

  !insertmacro WENDLE_UNINSTALL_FILES
  !insertmacro REMOVE_WINHELP_FILES
  Delete "$INSTDIR\uninstall.exe"
  ${If} $0 == 1
    ; Wendle writes its CD catalog into the folder it runs in.
    Delete "$INSTDIR\WD_CD.DAT"
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "${MAKER_KEY}"
  ${EndIf}
  ; Only when empty: files the user put there stay.
  RMDir "$INSTDIR"

  Delete "${SHORTCUT}"

  ; The file type; .wdl itself only while it still names Wendle's type.
  DeleteRegKey HKCU "${CLASSES}\${PROGID}"
  DeleteRegValue HKCU "${CLASSES}\.wdl\OpenWithProgids" "${PROGID}"
  DeleteRegKey /ifempty HKCU "${CLASSES}\.wdl\OpenWithProgids"
  ReadRegStr $1 HKCU "${CLASSES}\.wdl" ""
  ${If} $1 == "${PROGID}"
    DeleteRegValue HKCU "${CLASSES}\.wdl" ""
  ${EndIf}
  DeleteRegKey /ifempty HKCU "${CLASSES}\.wdl"
  System::Call "${NOTIFY_ASSOCIATIONS}"

  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
