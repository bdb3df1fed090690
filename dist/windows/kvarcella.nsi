; The Windows installer of Кварцелла 2.0, made by scripts/windows/build.sh:
;   makensis -DSTAGE=<the program's folder> -DLISTS=<folder> -DOUTFILE=<setup.exe> -DVERSION=2.0 kvarcella.nsi
; LISTS holds files.nsh and unfiles.nsh, the lists of what is installed,
; so that the uninstaller removes exactly that and never a teacher's file.
; A 64-bit installer for a 64-bit program: it also runs where Wine has no 32-bit part.
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "x64.nsh"

!define PRODUCT "Кварцелла 2.0"
!define PROGID "Kvarcella.Crossword"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kvarcella"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
BrandingText "${PRODUCT}"

!define MUI_ICON "${STAGE}/kvarcella.ico"
!define MUI_UNICON "${STAGE}/kvarcella.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\kvarcella.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "Кварцелла 2.0 работает только в 64-разрядной Windows."
    Abort
  ${EndIf}
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Кварцелла 2.0"
  SetShellVarContext all
  !include "${LISTS}/files.nsh"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\kvarcella.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Справка.lnk" "$INSTDIR\kvarcella.chm"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Удалить Кварцеллу.lnk" "$INSTDIR\uninstall.exe"

  ; The crossword type: its name and icon, a double-click opens it for solving.
  WriteRegStr HKLM "Software\Classes\.crs" "" "${PROGID}"
  WriteRegStr HKLM "Software\Classes\.crs" "Content Type" "application/x-kvarcella-crossword"
  WriteRegStr HKLM "Software\Classes\.crs\OpenWithProgids" "${PROGID}" ""
  WriteRegStr HKLM "Software\Classes\${PROGID}" "" "Кроссворд"
  WriteRegStr HKLM "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\kvarcella.ico"
  WriteRegStr HKLM "Software\Classes\${PROGID}\shell" "" "open"
  WriteRegStr HKLM "Software\Classes\${PROGID}\shell\open" "" "Разгадывать"
  WriteRegStr HKLM "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\kvarcella.exe" "%1"'

  ; "Открыть с помощью → Напечатать кроссворд": the tool writes the PDF and opens it.
  WriteRegStr HKLM "Software\Classes\Applications\kvarcella-tool.exe" "FriendlyAppName" "Напечатать кроссворд"
  WriteRegStr HKLM "Software\Classes\Applications\kvarcella-tool.exe\SupportedTypes" ".crs" ""
  WriteRegStr HKLM "Software\Classes\Applications\kvarcella-tool.exe\DefaultIcon" "" "$INSTDIR\kvarcella.ico"
  WriteRegStr HKLM "Software\Classes\Applications\kvarcella-tool.exe\shell\open\command" "" '"$INSTDIR\kvarcella-tool.exe" pdf --open "%1"'
  WriteRegStr HKLM "Software\Classes\.crs\OpenWithList\kvarcella-tool.exe" "" ""
  ; The program itself under "Open with" too.
  WriteRegStr HKLM "Software\Classes\Applications\kvarcella.exe" "FriendlyAppName" "${PRODUCT}"
  WriteRegStr HKLM "Software\Classes\Applications\kvarcella.exe\SupportedTypes" ".crs" ""
  WriteRegStr HKLM "Software\Classes\Applications\kvarcella.exe\shell\open\command" "" '"$INSTDIR\kvarcella.exe" "%1"'

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Школьная мастерская «Кварцелла»"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kvarcella.ico"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  ; Explorer shows the new icon and action without a restart.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  ; Only what the installer put there; a crossword saved in these folders stays.
  !include "${LISTS}/unfiles.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Справка.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Удалить Кварцеллу.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"

  ; The .crs type stays with another program that has taken it over since.
  ReadRegStr $0 HKLM "Software\Classes\.crs" ""
  ${If} $0 == "${PROGID}"
    DeleteRegValue HKLM "Software\Classes\.crs" ""
    DeleteRegValue HKLM "Software\Classes\.crs" "Content Type"
  ${EndIf}
  DeleteRegValue HKLM "Software\Classes\.crs\OpenWithProgids" "${PROGID}"
  DeleteRegKey HKLM "Software\Classes\.crs\OpenWithList\kvarcella-tool.exe"
  DeleteRegKey /ifempty HKLM "Software\Classes\.crs\OpenWithList"
  DeleteRegKey /ifempty HKLM "Software\Classes\.crs\OpenWithProgids"
  DeleteRegKey /ifempty HKLM "Software\Classes\.crs"
  DeleteRegKey HKLM "Software\Classes\${PROGID}"
  DeleteRegKey HKLM "Software\Classes\Applications\kvarcella-tool.exe"
  DeleteRegKey HKLM "Software\Classes\Applications\kvarcella.exe"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
