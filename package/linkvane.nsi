; The Linkvane installer. Built by cmake/release.cmake (scripts/package), which defines:
;   VERSION        the version of project(), e.g. 1.0.0
;   VERSION_QUAD   the same in four numbers, e.g. 1.0.0.0
;   PUBLISHER      the publisher's name, as in the version resource
;   STAGE          the folder holding the release's files (linkvane.exe, README.txt, ...)
;   ICON           linkvane.ico
;   OUTFILE        the installer to write
; and, for a signed release:
;   SIGN           package/sign, which signs the uninstaller as it is built (so that the one in
;                  Apps & features is signed too) and then the installer, in place
; and, for the tests alone:
;   ACT_AS_STANDARD_USER  until restarted elevated, take the account for a standard user's (as
;                         Windows reports a filtered administrator), so that the tests run the
;                         elevated restart under Wine, where everyone is an administrator
;
; Per user by default: into %LOCALAPPDATA%\Programs\Linkvane, associations and the Apps &
; features entry under HKEY_CURRENT_USER; no administrator needed. With /AllUsers: into
; Program Files, everything under HKEY_LOCAL_MACHINE (its 64-bit view on 64-bit Windows);
; the installer then asks for elevation itself. /S installs or uninstalls silently.
;
; The file types are linkvane.exe's own business: the installer runs it with /register, the
; uninstaller with /unregister, so that one definition of what is registered exists.
;
; The same bytes from any folder: file times are not stored, and makensis takes the
; installer's own time stamp from SOURCE_DATE_EPOCH.
;
; In the user's display language, with no dialog to choose one: every text of the script's own
; is a LangString, in a file per language under lang/ (English.nsh is the original). The
; release build runs makensis with -WX, so that a text a language lacks fails it.

; Before 3.06, DeleteRegKey /ifempty ignored a key's values, among other faults.
!if ${NSIS_PACKEDVERSION} < 0x03006000
  !error "Linkvane's installer needs NSIS 3.06 or later."
!endif

!ifdef SIGN
  ; 3.08 and later: the uninstaller that WriteUninstaller writes is the signed one.
  !if ${NSIS_PACKEDVERSION} < 0x03008000
    !error "A signed installer needs NSIS 3.08 or later."
  !endif
  !uninstfinalize '"${SIGN}" "%1"' = 0
  !finalize '"${SIGN}" "%1"' = 0
!endif

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
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Linkvane"
!define ERROR_ELEVATION_REQUIRED 740
!define SEE_MASK_NOCLOSEPROCESS 0x40
; The Start-menu entry's name before it was translated, and so before it was recorded.
!define ENGLISH_CHOOSER "Linkvane - choose a browser.lnk"

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

Var AllUsers   ; 1 with /AllUsers, or for the uninstaller of an all-users installation
Var Elevated   ; 1 in the copy started elevated (/Elevated)
Var Scope      ; linkvane.exe's switch for the mode: " /allusers" or nothing
Var ModeText   ; who the installation is for, on the welcome page
Var DatNote    ; where browser.dat goes, on the finish page

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_CUSTOMFUNCTION_GUIINIT ModeTexts
!define MUI_WELCOMEPAGE_TITLE "Linkvane ${VERSION}"
!define MUI_WELCOMEPAGE_TEXT "$(LV_WELCOME_TEXT)"
!define MUI_FINISHPAGE_TITLE "$(LV_FINISH_TITLE)"
!define MUI_FINISHPAGE_TEXT_LARGE
!define MUI_FINISHPAGE_TEXT "$(LV_FINISH_TEXT)"
; Offered unticked, and only to a per-user installation: it runs as whoever ran the installer,
; while an all-users installation runs elevated, perhaps as another account.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_NOTCHECKED
!define MUI_FINISHPAGE_RUN_TEXT "$(LV_RUN)"
!define MUI_FINISHPAGE_RUN_FUNCTION ChooseBrowserNow
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!define MUI_FINISHPAGE_SHOWREADME_TEXT "$(LV_README)"

!define MUI_PAGE_CUSTOMFUNCTION_SHOW WelcomeShow
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishShow
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; English first: NSIS takes the first table when none matches the user's language.
!macro Language name
  !insertmacro MUI_LANGUAGE "${name}"
  !include /CHARSET=UTF8 "${__FILEDIR__}/lang/${name}.nsh"
!macroend
!insertmacro Language English
!insertmacro Language German
!insertmacro Language Japanese
!insertmacro Language Arabic
!insertmacro Language SimpChinese
!insertmacro Language TradChinese
!insertmacro Language Russian
!insertmacro Language Spanish
!insertmacro Language PortugueseBR
!insertmacro Language French
!insertmacro Language Korean
!insertmacro Language Polish
!insertmacro Language Turkish

; NSIS has already matched the display language to a table, the exact one or else one of the
; same primary language (so pt-PT gets Brazilian Portuguese and es-MX Spanish), and $LANGUAGE
; names that table: a Chinese without a table of its own gets the first Chinese one, Simplified,
; whatever its script. Set in .onInit, the table is used from the first page on; texts shown in
; .onInit itself still come from NSIS's choice.
!macro ChineseScript
  System::Call 'kernel32::GetUserDefaultUILanguage() i .R0'
  ${If} $R0 = 0x0C04    ; zh-HK
  ${OrIf} $R0 = 0x1404  ; zh-MO
    StrCpy $LANGUAGE ${LANG_TRADCHINESE}
  ${ElseIf} $R0 = 0x1004  ; zh-SG
    StrCpy $LANGUAGE ${LANG_SIMPCHINESE}
  ${EndIf}
!macroend

; The texts of the mode for the pages, set as the window is made (MUI_CUSTOMFUNCTION_GUIINIT),
; once the language is settled: LangStrings read in .onInit come from NSIS's own choice.
Function ModeTexts
  ${If} $AllUsers == 1
    StrCpy $ModeText "$(LV_MODE_ALL_USERS)"
    StrCpy $DatNote "$(LV_DAT_ALL_USERS)"
  ${Else}
    StrCpy $ModeText "$(LV_MODE_PER_USER)"
    StrCpy $DatNote "$(LV_DAT_PER_USER)"
  ${EndIf}
FunctionEnd

; The welcome page's button starts the installation at once: there is nothing to choose.
Function WelcomeShow
  GetDlgItem $0 $HWNDPARENT 1
  SendMessage $0 ${WM_SETTEXT} 0 "STR:$(^InstallBtn)"
FunctionEnd

Function FinishShow
  ${If} $AllUsers == 1
    ShowWindow $mui.FinishPage.Run ${SW_HIDE}
  ${EndIf}
FunctionEnd

Function ChooseBrowserNow
  ${If} $AllUsers != 1
    Exec '"$INSTDIR\linkvane.exe" /choose'
  ${EndIf}
FunctionEnd

; Reads the command line ($R0): /AllUsers, /Elevated and /Folder= (the folder, which the
; elevated copy gets under a name of its own: NSIS takes /D= and _?= off the command line).
!macro ReadOptions
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/AllUsers" $R1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/Elevated" $R1
  ${IfNot} ${Errors}
    StrCpy $Elevated 1
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/Folder=" $R1
  ${IfNot} ${Errors}
    StrCpy $INSTDIR $R1
  ${EndIf}
!macroend

; Starts this program again elevated (Windows asks for administrator rights) with the mode, the
; folder and /S, waits for it and quits with its exit status. An uninstaller gets _?= back too,
; so that it works in place on the installed folder rather than copying itself once more.
!macro RestartElevated un
Function ${un}RestartElevated
  StrCpy $R3 '/AllUsers /Elevated /Folder="$INSTDIR"'
  ${If} ${Silent}
    StrCpy $R3 "$R3 /S"
  ${EndIf}
  ; SHELLEXECUTEINFOW, and ShellExecuteExW: unlike ExecShellWait, it gives the process, and so
  ; its exit status. Texts go in through registers, which System::Call does not parse.
  StrCpy $R8 $EXEPATH
  !if "${un}" == "un."
    ; The installed uninstall.exe, which only administrators can change, and never this copy
    ; of it in the user's temporary folder, which the user's own programs could replace.
    StrCpy $R3 "$R3 _?=$INSTDIR"
    StrCpy $R8 "$INSTDIR\uninstall.exe"
  !endif
  System::Call '*(i 60, i ${SEE_MASK_NOCLOSEPROCESS}, p 0, w "runas", w R8, w R3, p 0, i ${SW_SHOWNORMAL}, p 0, p 0, p 0, p 0, i 0, p 0, p 0) p .R4'
  System::Call 'shell32::ShellExecuteExW(p R4) i .R5 ?e'
  Pop $R6
  ${If} $R5 == 0
    ; Refused (1223) or failed: nothing was changed.
    MessageBox MB_ICONSTOP|MB_OK "$(LV_NOT_ELEVATED)" /SD IDOK
  ${Else}
    System::Call '*$R4(i, i, p, p, p, p, p, i, p, p, p, p, i, p, p .R7)'
    System::Call 'kernel32::WaitForSingleObject(p R7, i -1)'
    System::Call 'kernel32::GetExitCodeProcess(p R7, *i .R6)'
    System::Call 'kernel32::CloseHandle(p R7)'
  ${EndIf}
  System::Free $R4
  SetErrorLevel $R6
  Quit
FunctionEnd
!macroend
!insertmacro RestartElevated ""
!insertmacro RestartElevated "un."

; Sets $R5 to 1 when the full path in $R4 lies inside folder.
!macro InFolder folder
  StrLen $R6 "${folder}\"
  StrCpy $R7 $R4 $R6
  StrLen $R8 $R4
  ${If} $R7 == "${folder}\"
  ${AndIf} $R8 > $R6
    StrCpy $R5 1
  ${EndIf}
!macroend

; Sets the registry root (SHCTX) and view and the default folder ($R2) of the mode; for all
; users without administrator rights, restarts elevated, or refuses when this is the elevated
; copy already.
!macro SelectMode un
Function ${un}SelectMode
  ${If} $AllUsers != 1
    SetShellVarContext current
    StrCpy $Scope ""
    StrCpy $R2 "$LOCALAPPDATA\Programs\${PRODUCT}"
  ${Else}
    UserInfo::GetAccountType
    Pop $R1
    !ifdef ACT_AS_STANDARD_USER
      ${If} $Elevated != 1
        StrCpy $R1 "User"
      ${EndIf}
    !endif
    ${If} $R1 != "Admin"
      ${If} $Elevated == 1
        MessageBox MB_ICONSTOP|MB_OK "$(LV_NEEDS_ADMIN)" /SD IDOK
        SetErrorLevel ${ERROR_ELEVATION_REQUIRED}
        Quit
      ${EndIf}
      Call ${un}RestartElevated
    ${EndIf}
    SetShellVarContext all
    ${If} ${RunningX64}
      SetRegView 64
    ${EndIf}
    StrCpy $Scope " /allusers"
    StrCpy $R2 "$PROGRAMFILES\${PRODUCT}"
  ${EndIf}
FunctionEnd
!macroend
!insertmacro SelectMode ""
!insertmacro SelectMode "un."

; For all users the folder must lie in Program Files, which only administrators can change:
; every user runs what is put there. Any other is refused (a silent install quits with status 2).
Function CheckFolder
  ${If} $AllUsers == 1
    ; The full form, with no "." or ".." parts that could lead out of Program Files.
    System::Call 'kernel32::GetFullPathNameW(w "$INSTDIR", i ${NSIS_MAX_STRLEN}, w .R4, p 0) i .R5'
    StrCpy $R5 0
    !insertmacro InFolder $PROGRAMFILES32
    !insertmacro InFolder $PROGRAMFILES64
    ${If} $R5 != 1
      MessageBox MB_ICONSTOP|MB_OK "$(LV_NOT_PROGRAM_FILES)" /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

Function .onInit
  !insertmacro ChineseScript
  !insertmacro ReadOptions
  ; A folder given is judged before administrator rights are asked for.
  ${If} $INSTDIR != ""
    Call CheckFolder
  ${EndIf}
  Call SelectMode
  ; /D=folder wins; else an earlier installation's folder, so an upgrade replaces it in place.
  ${If} $INSTDIR == ""
    ReadRegStr $INSTDIR SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${EndIf}
  ${If} $INSTDIR == ""
    StrCpy $INSTDIR $R2
  ${EndIf}
  Call CheckFolder
FunctionEnd

; The mode is that of the installation the uninstaller belongs to, whatever its command line:
; an uninstall.exe in the all-users folder, double-clicked, removes that installation.
Function un.onInit
  !insertmacro ChineseScript
  !insertmacro ReadOptions
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
  ReadRegStr $R1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  SetRegView 32
  ${If} $R1 == $INSTDIR
    StrCpy $AllUsers 1
  ${EndIf}
  Call un.SelectMode
FunctionEnd

; Sets $R1 to the file name of the Start-menu entry that the installation made, as recorded.
!macro RecordedChooser
  ReadRegStr $R1 SHCTX "${UNINSTALL_KEY}" "StartMenuEntry"
  ${If} $R1 == ""
    StrCpy $R1 "${ENGLISH_CHOOSER}"
  ${EndIf}
!macroend

Section "Linkvane"
  SetOutPath $INSTDIR
  ; Never browser.dat: the user's own stays as it is on an upgrade.
  File "${STAGE}\linkvane.exe"
  File "${STAGE}\README.txt"
  File "${STAGE}\browser.dat.example"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The file types, as linkvane.exe registers them: another program's stay its own.
  ExecWait '"$INSTDIR\linkvane.exe" /register /quiet$Scope' $0
  ${If} $0 != 0
    MessageBox MB_ICONEXCLAMATION|MB_OK "$(LV_NOT_REGISTERED)" /SD IDOK
    SetErrorLevel 2
  ${EndIf}

  ; Each user's own choice of browser, a click away ($SMPROGRAMS is the mode's Start menu),
  ; named in this installer's language, in place of the entry an earlier installation made.
  !insertmacro RecordedChooser
  Delete "$SMPROGRAMS\$R1"
  CreateShortCut "$SMPROGRAMS\$(LV_CHOOSER).lnk" "$INSTDIR\linkvane.exe" "/choose"

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
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "StartMenuEntry" "$(LV_CHOOSER).lnk"
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K /G=0" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  ; First the file types that name this linkvane.exe. When that fails, everything stays, so
  ; that the uninstaller can be run again.
  ${If} ${FileExists} "$INSTDIR\linkvane.exe"
    ExecWait '"$INSTDIR\linkvane.exe" /unregister /quiet$Scope' $0
    ${If} $0 != 0
      MessageBox MB_ICONSTOP|MB_OK "$(LV_NOT_UNREGISTERED)" /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
  ${EndIf}

  Delete "$INSTDIR\linkvane.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\browser.dat.example"
  Delete "$INSTDIR\uninstall.exe"
  ; The installed uninstall.exe started elevated in place cannot delete the file it runs from,
  ; but may move it out of the folder (it keeps its permissions), to be deleted on restart.
  ${If} ${FileExists} "$INSTDIR\uninstall.exe"
    GetTempFileName $R1
    Delete $R1
    Rename "$INSTDIR\uninstall.exe" $R1
    Delete /REBOOTOK $R1
    Delete /REBOOTOK "$INSTDIR\uninstall.exe"
  ${EndIf}
  ; Each user's choice of browser (in their local application data) stays, as their settings.
  ; The entry goes by the name it was made with, in whatever language that was.
  !insertmacro RecordedChooser
  Delete "$SMPROGRAMS\$R1"
  ; Stays while it holds the user's browser.dat (or anything else of theirs).
  RMDir "$INSTDIR"
  ; The entry in Settings, Apps goes with the program, never before it: an installation that
  ; can no longer be uninstalled must not happen.
  ${If} ${FileExists} "$INSTDIR\linkvane.exe"
    MessageBox MB_ICONSTOP|MB_OK "$(LV_NOT_REMOVED)" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
