; Kivora's installer: a per-user installation that needs no administrator
; rights. The program goes to the user's own programs folder
; (%LOCALAPPDATA%\Programs\Kivora), the shortcut to the user's Start menu and
; the uninstall entry to HKEY_CURRENT_USER.
;
; The build gives makensis (packaging/CMakeLists.txt):
;   VERSION    the four-part version ("1.1.0.0")
;   COPYRIGHT  the legal notice of the version record
;   TARGET     the makensis target (amd64-unicode)
;   FILES      the include stage_dist.py wrote: the release's files
;   ICON       Kivora's icon
;   WEB_SITE   the address of the uninstall entry's "about" link
;   OUTFILE    the installer to write
; and, for a signed release (packaging/release.py --sign), in two passes:
;   UNINSTALLER_WRITER   first pass: a program that only writes Uninstall.exe
;                        beside itself, so that it can be signed
;   SIGNED_UNINSTALLER   second pass: that file, signed, which the installer
;                        carries instead of writing its own
;
; Every file is installed with the date it has in the staged folder, which
; the release sets to the commit's date (SOURCE_DATE_EPOCH): the installer
; holds no date of the build.
;
; Uninstaller switches: /S runs it silently; /REMOVESETTINGS removes Kivora's
; settings without asking (silently or not). A silent run without it keeps
; them, so a later installation finds them again.

Target "${TARGET}"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "${FILES}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kivora"
!define SETTINGS_KEY "Software\Orvanta\Kivora"

Name "Kivora"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Kivora"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
ManifestDPIAware true
BrandingText "Kivora ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Kivora"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "Orvanta"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Kivora Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${COPYRIGHT}"

LangString StartNow ${LANG_ENGLISH} "Kivora has been installed. Start it now?"
LangString StartNow ${LANG_JAPANESE} "Kivora をインストールしました。今すぐ起動しますか?"
LangString ShortcutText ${LANG_ENGLISH} "Keeps NumLock, CapsLock and ScrollLock in the states you chose"
LangString ShortcutText ${LANG_JAPANESE} "NumLock・CapsLock・ScrollLock を選んだ状態に保ちます"
LangString RemoveSettingsQuestion ${LANG_ENGLISH} "Remove Kivora's settings as well?$\r$\n$\r$\nThey are the registry key HKEY_CURRENT_USER\${SETTINGS_KEY} (with the per-window rules), Kivora.ini beside the program and the shortcut in your Startup folder.$\r$\n$\r$\nChoose No to keep them for a later installation."
LangString RemoveSettingsQuestion ${LANG_JAPANESE} "Kivora の設定も削除しますか?$\r$\n$\r$\n設定とは、レジストリーキー HKEY_CURRENT_USER\${SETTINGS_KEY} (ウィンドウごとの設定を含む)、プログラムと同じフォルダーの Kivora.ini、スタートアップフォルダーのショートカットです。$\r$\n$\r$\n後でもう一度インストールするときのために残す場合は [いいえ] を選んでください。"

; The language follows KIVORA_LANG as Kivora's own does ("JA" is Japanese,
; anything else English); without it, the user's language.
!macro KIVORA_CHOOSE_LANGUAGE
  ClearErrors
  ReadEnvStr $0 "KIVORA_LANG"
  ${IfNot} ${Errors}
    ${If} $0 == "JA"
      StrCpy $LANGUAGE ${LANG_JAPANESE}
    ${Else}
      StrCpy $LANGUAGE ${LANG_ENGLISH}
    ${EndIf}
  ${EndIf}
!macroend

; A resident Kivora holds its program file open. Its own /X switch ends it the
; way Exit does (its settings are saved first); then wait, at most ten
; seconds, until the file can be written.
!macro KIVORA_STOP_RUNNING
  FindWindow $0 "Kivora"
  ${If} $0 <> 0
  ${AndIf} ${FileExists} "$INSTDIR\Kivora.exe"
    ExecWait '"$INSTDIR\Kivora.exe" /X'
    StrCpy $1 0
    ${Do}
      ClearErrors
      FileOpen $2 "$INSTDIR\Kivora.exe" a
      ${IfNot} ${Errors}
        FileClose $2
        ${Break}
      ${EndIf}
      IntOp $1 $1 + 1
      ${If} $1 >= 100
        ${Break}
      ${EndIf}
      Sleep 100
    ${Loop}
  ${EndIf}
!macroend

!ifdef UNINSTALLER_WRITER
Function .onInit
  SetSilent silent
  WriteUninstaller "$EXEDIR\Uninstall.exe"
  SetErrorLevel 0
  Quit
FunctionEnd
!else
Function .onInit
  !insertmacro KIVORA_CHOOSE_LANGUAGE
FunctionEnd
!endif

Section "Kivora"
  SetShellVarContext current
  !insertmacro KIVORA_STOP_RUNNING
  !insertmacro KIVORA_INSTALL_FILES
!ifdef SIGNED_UNINSTALLER
  ; The uninstaller's code is in the file already: no need to say it goes unused.
  !pragma warning disable 6020
  File "/oname=Uninstall.exe" "${SIGNED_UNINSTALLER}"
!else
  WriteUninstaller "$INSTDIR\Uninstall.exe"
!endif
  CreateShortcut "$SMPROGRAMS\Kivora.lnk" "$INSTDIR\Kivora.exe" "" "$INSTDIR\Kivora.exe" 0 SW_SHOWNORMAL "" "$(ShortcutText)"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Kivora"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Orvanta"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "${WEB_SITE}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Kivora.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0

  ${IfNot} ${Silent}
    ${If} ${Cmd} `MessageBox MB_YESNO|MB_ICONQUESTION "$(StartNow)" IDYES`
      Exec '"$INSTDIR\Kivora.exe"'
    ${EndIf}
  ${EndIf}
SectionEnd

Function un.onInit
  !insertmacro KIVORA_CHOOSE_LANGUAGE
FunctionEnd

; Settings are what Kivora keeps for the user: its registry key, an ini file
; of portable mode beside the program and the Startup-folder shortcut its
; menu makes. They are asked about only when some of them exist.
Function un.RemoveSettings
  StrCpy $0 0
  ClearErrors
  EnumRegKey $1 HKCU "${SETTINGS_KEY}" 0
  ${IfNot} ${Errors}
    StrCpy $0 1
  ${EndIf}
  ${If} ${FileExists} "$INSTDIR\Kivora.ini"
  ${OrIf} ${FileExists} "$SMSTARTUP\Kivora.lnk"
    StrCpy $0 1
  ${EndIf}
  ${If} $0 = 0
    Return
  ${EndIf}

  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "/REMOVESETTINGS" $2
  ${If} ${Errors}
    ${If} ${Silent}
      Return
    ${EndIf}
    ${IfNot} ${Cmd} `MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(RemoveSettingsQuestion)" IDYES`
      Return
    ${EndIf}
  ${EndIf}

  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Orvanta"
  Delete "$INSTDIR\Kivora.ini"
  Delete "$SMSTARTUP\Kivora.lnk"
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  !insertmacro KIVORA_STOP_RUNNING
  !insertmacro KIVORA_REMOVE_FILES
  Delete "$INSTDIR\Uninstall.exe"
  Delete "$SMPROGRAMS\Kivora.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  Call un.RemoveSettings
  ; Only when empty: a kept Kivora.ini, or anything the user put here, stays.
  RMDir "$INSTDIR"
SectionEnd
