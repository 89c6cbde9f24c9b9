; The Linkvane installer. Built by cmake/release.cmake (scripts/package), which defines:
;   VERSION        the version of project(), e.g. 1.0.0
;   VERSION_QUAD   the same in four numbers, e.g. 1.0.0.0
;   PUBLISHER      the publisher's name, as in the version resource
;   STAGE          the folder holding the release's files (linkvane.exe, README.txt, ...)
;   ICON           linkvane.ico
;   OUTFILE        the installer to write
;
; Per user by default: into %LOCALAPPDATA%\Programs\Linkvane, associations and the Apps &
; features entry under HKEY_CURRENT_USER; no administrator needed. With /AllUsers: into
; Program Files, everything under HKEY_LOCAL_MACHINE (its 64-bit view on 64-bit Windows);
; the installer then asks for elevation itself. /S installs or uninstalls silently.
;
; The same bytes from any folder: file times are not stored, and makensis takes the
; installer's own time stamp from SOURCE_DATE_EPOCH.

Unicode true
SetCompressor /SOLID lzma
SetDateSave off
RequestExecutionLevel user
ManifestSupportedOS all
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh

!define PRODUCT "Linkvane"
!define PROGID "Linkvane.Shortcut"
!define CLASSES "Software\Classes"
!define APP_KEY "Software\Linkvane"
!define CAPABILITIES "${APP_KEY}\Capabilities"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Linkvane"
!define SHCNE_ASSOCCHANGED 0x08000000
!define ERROR_ELEVATION_REQUIRED 740

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion ${VERSION_QUAD}
VIFileVersion ${VERSION_QUAD}
VIAddVersionKey ProductName "${PRODUCT}"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey FileDescription "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey CompanyName "${PUBLISHER}"
VIAddVersionKey LegalCopyright "${PUBLISHER}"

Var AllUsers   ; 1 with /AllUsers
Var ModeText   ; who the installation is for, on the welcome page
Var DatNote    ; where browser.dat goes, on the finish page

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEPAGE_TITLE "Linkvane ${VERSION}"
!define MUI_WELCOMEPAGE_TEXT "Linkvane opens web-location shortcut files in your browser: .webloc files from a Mac, .desktop links from Linux and Windows' own .url shortcuts.$\r$\n$\r$\nSetup installs it $ModeText into$\r$\n$INSTDIR$\r$\n$\r$\nAfterwards .webloc and .desktop files open with Linkvane on a double-click, and .url files have Linkvane in their Open with list. Uninstall it in Settings, Apps.$\r$\n$\r$\nClick Install to continue."
!define MUI_FINISHPAGE_TITLE "Linkvane is installed"
!define MUI_FINISHPAGE_TEXT_LARGE
!define MUI_FINISHPAGE_TEXT "Linkvane starts your default browser. To choose another, put a file named browser.dat into$\r$\n$INSTDIR$\r$\n$DatNote$\r$\n$\r$\nbrowser.dat.example there shows how; README.txt tells the rest."
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show README.txt"

!define MUI_PAGE_CUSTOMFUNCTION_SHOW WelcomeShow
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The welcome page's button starts the installation at once: there is nothing to choose.
Function WelcomeShow
  GetDlgItem $0 $HWNDPARENT 1
  SendMessage $0 ${WM_SETTEXT} 0 "STR:&Install"
FunctionEnd

; Reads /AllUsers and sets the folder, the registry root (SHCTX) and view for the mode; for all
; users without administrator rights, starts itself again with the "runas" verb (Windows asks
; for elevation) and ends, or refuses once that has been tried.
!macro SelectMode un
Function ${un}SelectMode
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/AllUsers" $R1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
  ${EndIf}
  ${If} $AllUsers != 1
    SetShellVarContext current
    StrCpy $ModeText "for you only, with no administrator rights needed,"
    StrCpy $DatNote "(%LOCALAPPDATA%\Programs\Linkvane in Explorer)."
    StrCpy $R2 "$LOCALAPPDATA\Programs\${PRODUCT}"
  ${Else}
    UserInfo::GetAccountType
    Pop $R1
    ${If} $R1 != "Admin"
      ClearErrors
      ${GetOptions} $R0 "/Elevated" $R1
      ${IfNot} ${Errors}
        MessageBox MB_ICONSTOP|MB_OK "Installing or removing Linkvane for all users needs administrator rights." /SD IDOK
        SetErrorLevel ${ERROR_ELEVATION_REQUIRED}
        Quit
      ${EndIf}
      ; First: /D= (and the uninstaller's _?=) must stay last.
      ExecShellWait "runas" "$EXEPATH" "/Elevated $R0"
      Quit
    ${EndIf}
    SetShellVarContext all
    ${If} ${RunningX64}
      SetRegView 64
    ${EndIf}
    StrCpy $ModeText "for all users of this computer"
    StrCpy $DatNote "Changing files there needs administrator rights: write browser.dat elsewhere, then copy it in and confirm as administrator."
    StrCpy $R2 "$PROGRAMFILES\${PRODUCT}"
  ${EndIf}
FunctionEnd
!macroend
!insertmacro SelectMode ""
!insertmacro SelectMode "un."

Function .onInit
  Call SelectMode
  ; /D=folder wins; else an earlier installation's folder, so an upgrade replaces it in place.
  ${If} $INSTDIR == ""
    ReadRegStr $INSTDIR SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${EndIf}
  ${If} $INSTDIR == ""
    StrCpy $INSTDIR $R2
  ${EndIf}
FunctionEnd

Function un.onInit
  Call un.SelectMode
FunctionEnd

; An extension that opens with Linkvane, and lists it under Open with.
!macro Associate extension
  WriteRegStr SHCTX "${CLASSES}\${extension}" "" "${PROGID}"
  WriteRegStr SHCTX "${CLASSES}\${extension}\OpenWithProgids" "${PROGID}" ""
  WriteRegStr SHCTX "${CAPABILITIES}\FileAssociations" "${extension}" "${PROGID}"
!macroend

Section "Linkvane"
  SetOutPath $INSTDIR
  ; Never browser.dat: the user's own stays as it is on an upgrade.
  File "${STAGE}\linkvane.exe"
  File "${STAGE}\README.txt"
  File "${STAGE}\browser.dat.example"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  WriteRegStr SHCTX "${CLASSES}\${PROGID}" "" "Web location shortcut"
  WriteRegStr SHCTX "${CLASSES}\${PROGID}\DefaultIcon" "" '"$INSTDIR\linkvane.exe",0'
  WriteRegStr SHCTX "${CLASSES}\${PROGID}\shell\open\command" "" '"$INSTDIR\linkvane.exe" "%1"'
  !insertmacro Associate ".webloc"
  !insertmacro Associate ".desktop"
  ; .url stays Windows' own: Linkvane is only offered under Open with.
  WriteRegStr SHCTX "${CLASSES}\.url\OpenWithProgids" "${PROGID}" ""
  WriteRegStr SHCTX "${CAPABILITIES}\FileAssociations" ".url" "${PROGID}"
  WriteRegStr SHCTX "${CAPABILITIES}" "ApplicationName" "${PRODUCT}"
  WriteRegStr SHCTX "${CAPABILITIES}" "ApplicationDescription" "Opens web-location shortcut files in a browser"
  WriteRegStr SHCTX "${CAPABILITIES}" "ApplicationIcon" '"$INSTDIR\linkvane.exe",0'
  WriteRegStr SHCTX "Software\RegisteredApplications" "${PRODUCT}" "${CAPABILITIES}"

  ${If} $AllUsers == 1
    StrCpy $R0 " /AllUsers"
  ${Else}
    StrCpy $R0 ""
  ${EndIf}
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\linkvane.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"$R0'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe"$R0 /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K /G=0" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0

  System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'
SectionEnd

; Removes the extension's pointer to Linkvane if it still names it, its Open with entry, and
; the keys that are left empty.
!macro Unassociate extension
  ReadRegStr $0 SHCTX "${CLASSES}\${extension}" ""
  ${If} $0 == "${PROGID}"
    DeleteRegValue SHCTX "${CLASSES}\${extension}" ""
  ${EndIf}
  DeleteRegValue SHCTX "${CLASSES}\${extension}\OpenWithProgids" "${PROGID}"
  DeleteRegKey /ifempty SHCTX "${CLASSES}\${extension}\OpenWithProgids"
  DeleteRegKey /ifempty SHCTX "${CLASSES}\${extension}"
!macroend

Section "Uninstall"
  Delete "$INSTDIR\linkvane.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\browser.dat.example"
  Delete "$INSTDIR\uninstall.exe"
  ; Stays while it holds the user's browser.dat (or anything else of theirs).
  RMDir "$INSTDIR"

  ; The associations only while they still name this installation: another copy of Linkvane
  ; registered since keeps them.
  ReadRegStr $0 SHCTX "${CLASSES}\${PROGID}\shell\open\command" ""
  ${If} $0 == '"$INSTDIR\linkvane.exe" "%1"'
    !insertmacro Unassociate ".webloc"
    !insertmacro Unassociate ".desktop"
    !insertmacro Unassociate ".url"
    DeleteRegKey SHCTX "${CLASSES}\${PROGID}"
  ${EndIf}
  ReadRegStr $0 SHCTX "Software\RegisteredApplications" "${PRODUCT}"
  ${If} $0 == "${CAPABILITIES}"
    DeleteRegValue SHCTX "Software\RegisteredApplications" "${PRODUCT}"
    DeleteRegKey /ifempty SHCTX "Software\RegisteredApplications"
  ${EndIf}
  DeleteRegKey SHCTX "${APP_KEY}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"

  System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'
SectionEnd
