; The Windows installer: velsokura for the current user only, without
; administrator rights, in %LOCALAPPDATA%\Programs\velsokura. The data stays
; in %LOCALAPPDATA%\velsokura, which the program fills from defaults\ on its
; first start; neither an update nor the uninstaller touches it.
; scripts/package-windows makes it from the folder `cmake --install` lays out:
;   makensis -DVERSION=0.1 -DPROGRAM=FOLDER -DOUTFILE=SETUP.exe velsokura.nsi
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
!include MUI2.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\velsokura"

Name "velsokura"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\velsokura"
BrandingText "velsokura ${VERSION}"
; The language file's アンインストール(&U) is wider than the button.
UninstallButtonText "削除(&U)"

!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\velsokura.exe"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "velsokura をアンインストールしました。$\r$\n$\r$\n予定、設定、履歴のデータは $LOCALAPPDATA\velsokura に残してあります。不要になったら、このフォルダーを削除してください。"
!insertmacro MUI_UNPAGE_FINISH
!insertmacro MUI_LANGUAGE "Japanese"

Section "velsokura 本体" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  ; An update replaces the whole program; the start-up shortcut follows the option again.
  RMDir /r "$INSTDIR\defaults"
  Delete "$SMSTARTUP\velsokura.lnk"
  File /r "${PROGRAM}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\velsokura.lnk" "$INSTDIR\velsokura.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "velsokura"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\velsokura.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "velsokura"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Windows の起動時に velsokura を起動する" SecStartup
  CreateShortcut "$SMSTARTUP\velsokura.lnk" "$INSTDIR\velsokura.exe"
SectionEnd

; Only what the installer put there: a folder chosen with /D may hold other files.
Section "Uninstall"
  Delete "$SMPROGRAMS\velsokura.lnk"
  Delete "$SMSTARTUP\velsokura.lnk"
  Delete "$INSTDIR\velsokura.exe"
  Delete "$INSTDIR\*.dll"
  RMDir /r "$INSTDIR\platforms"
  RMDir /r "$INSTDIR\styles"
  RMDir /r "$INSTDIR\translations"
  RMDir /r "$INSTDIR\defaults"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
