; The Windows installer of Tovlo (makensis, 64-bit Unicode). The build gives
; PROGRAM_DIR (the staged program folder), VERSION and OUT_FILE.
; Tovlo writes into its own folder (faces, pages, updates), so it goes under
; the user's local application data and needs no administrator.
; Silent use: setup.exe /S [/D=folder]; Uninstall.exe /S.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tovlo"

Name "Tovlo ${VERSION}"
OutFile "${OUT_FILE}"
InstallDir "$LOCALAPPDATA\Tovlo"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel user
LoadLanguageFile "${NSISDIR}\Contrib\Language files\SimpChinese.nlf"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Tovlo"
  SetOutPath "$INSTDIR"
  ; A configuration the user already has is kept.
  File /r /x config.ini "${PROGRAM_DIR}\*.*"
  SetOverwrite off
  File "${PROGRAM_DIR}\config.ini"
  SetOverwrite on
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateDirectory "$SMPROGRAMS\Tovlo"
  CreateShortcut "$SMPROGRAMS\Tovlo\Tovlo.lnk" "$INSTDIR\Tovlo.exe"
  CreateShortcut "$SMPROGRAMS\Tovlo\卸载 Tovlo.lnk" "$INSTDIR\Uninstall.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Tovlo"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\Tovlo\Tovlo.lnk"
  Delete "$SMPROGRAMS\Tovlo\卸载 Tovlo.lnk"
  RMDir "$SMPROGRAMS\Tovlo"
  RMDir /r "$INSTDIR"
  ; What the program itself wrote: its auto-start value and its browser mode.
  DeleteRegValue HKCU "Software\Microsoft\Windows\CurrentVersion\Run" "Vendrim"
  DeleteRegValue HKCU "Software\Microsoft\Internet Explorer\Main\FeatureControl\FEATURE_BROWSER_EMULATION" "Tovlo.exe"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
