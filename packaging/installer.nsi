; The installer of Oxle Purgo, built by scripts/package with makensis:
;   makensis -DVERSION=1.25 -DSTAGE=<folder with the files> -DOUTFILE=<setup.exe> installer.nsi
; Installs for the machine into Program Files (the program runs elevated
; anyway), with a Start menu shortcut and an entry in "Apps & features".
; The uninstaller first runs "purgo.exe -uninstall" so that the boot
; registration goes, then removes the files; the settings in savedata\ go only
; when the user ticks "Also remove my settings" (a silent uninstall keeps
; them).

; A 64-bit installer for a 64-bit program: it needs no 32-bit subsystem.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define PRODUCT "Oxle Purgo"
!define PUBLISHER "Oxle"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\OxlePurgo"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"

!define MUI_ICON "${STAGE}\purgo.ico"
!define MUI_UNICON "${STAGE}\purgo.ico"
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\purgo.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Program" SecProgram
  SectionIn RO
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${STAGE}\purgo.exe"
  File "${STAGE}\purgoc.exe"
  File "${STAGE}\README.txt"
  File "${STAGE}\LICENSE"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\purgo.exe" "" "$INSTDIR\purgo.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\purgo.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; The boot registration goes first, while the program is still there; the
; program's start records itself in the settings, so the settings go after.
Section "un.Program" UnSecProgram
  SectionIn RO
  SetShellVarContext all
  ExecWait '"$INSTDIR\purgo.exe" -uninstall'
  Delete "$INSTDIR\purgo.exe"
  Delete "$INSTDIR\purgoc.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE"
  Delete "$INSTDIR\uninstall.exe"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.Also remove my settings" UnSecSettings
  RMDir /r "$INSTDIR\savedata"
SectionEnd

Section "-un.Folder"
  ; Only when empty: settings that stay keep their folder.
  RMDir "$INSTDIR"
SectionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${UnSecProgram} "The program, its shortcut and its boot registration."
  !insertmacro MUI_DESCRIPTION_TEXT ${UnSecSettings} "Your checked targets, custom targets and window settings (savedata)."
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END
