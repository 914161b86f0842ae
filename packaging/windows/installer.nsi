; Installs Dielektra for the current user, without administrator rights:
; the program in %LOCALAPPDATA%\Programs\Dielektra, a Start-menu entry, and an
; uninstaller that Windows lists among the installed programs. The uninstaller
; removes every file and registry key written here.
; makensis -DVERSION=… -DSTAGE=folder -DICON=file.ico -DOUTFILE=setup.exe installer.nsi
; A 64-bit installer for the 64-bit program.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!define KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Dielektra"

Name "Dielektra ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Dielektra"
ShowInstDetails nevershow

; Modern UI sets its own icons unless told these before its first page.
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!include "MUI2.nsh"
!include "FileFunc.nsh"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Czech"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_CZECH} "ProductName" "Dielektra"
VIAddVersionKey /LANG=${LANG_CZECH} "CompanyName" "Ferrolux"
VIAddVersionKey /LANG=${LANG_CZECH} "FileDescription" "Instalace programu Dielektra"
VIAddVersionKey /LANG=${LANG_CZECH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_CZECH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_CZECH} "LegalCopyright" "© 2026 vývojáři programu Dielektra"

Section
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${STAGE}\dielektra.exe"
  File "${STAGE}\LICENSE.txt"
  File "${STAGE}\LICENSE-Qt-LGPL-3.txt"
  File "${STAGE}\README-Qt.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Dielektra.lnk" "$INSTDIR\dielektra.exe" "" "$INSTDIR\dielektra.exe" 0
  WriteRegStr HKCU "${KEY}" "DisplayName" "Dielektra"
  WriteRegStr HKCU "${KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${KEY}" "Publisher" "Ferrolux"
  WriteRegStr HKCU "${KEY}" "DisplayIcon" "$INSTDIR\dielektra.exe,0"
  WriteRegStr HKCU "${KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  ; What "Apps & features" shows as the program's size, in KiB.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${KEY}" "EstimatedSize" $0
  WriteRegDWORD HKCU "${KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\Dielektra.lnk"
  Delete "$INSTDIR\dielektra.exe"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\LICENSE-Qt-LGPL-3.txt"
  Delete "$INSTDIR\README-Qt.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${KEY}"
SectionEnd
