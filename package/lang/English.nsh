; English texts of the installer (package/linkvane.nsi): the original, which every other
; file under lang/ translates, string for string.

; The Start-menu entry's name, a file name: it starts with "Linkvane - " and has none of : \ / * ? " < > |
LangString LV_CHOOSER ${LANG_ENGLISH} "Linkvane - choose a browser"
; The welcome page; $ModeText is LV_MODE_PER_USER or LV_MODE_ALL_USERS
LangString LV_WELCOME_TEXT ${LANG_ENGLISH} "Linkvane opens web-location shortcut files in your browser: .webloc files from a Mac, .desktop links from Linux and Windows' own .url shortcuts.$\r$\n$\r$\nSetup installs it $ModeText into$\r$\n$INSTDIR$\r$\n$\r$\nAfterwards .webloc and .desktop files open with Linkvane on a double-click (unless another program has them), and .url files have Linkvane in their Open with list. Uninstall it in Settings, Apps.$\r$\n$\r$\nClick Install to continue."
LangString LV_MODE_PER_USER ${LANG_ENGLISH} "for you only, with no administrator rights needed,"
LangString LV_MODE_ALL_USERS ${LANG_ENGLISH} "for all users of this computer"
; The finish page; $DatNote is LV_DAT_PER_USER or LV_DAT_ALL_USERS
LangString LV_FINISH_TITLE ${LANG_ENGLISH} "Linkvane is installed"
LangString LV_FINISH_TEXT ${LANG_ENGLISH} "Linkvane starts your default browser. To choose another for yourself, start $\"$(LV_CHOOSER)$\" in the Start menu. For every user, put a file named browser.dat into$\r$\n$INSTDIR$\r$\n$DatNote$\r$\n$\r$\nbrowser.dat.example there shows how; README.txt tells the rest."
LangString LV_DAT_PER_USER ${LANG_ENGLISH} "(%LOCALAPPDATA%\Programs\Linkvane in Explorer)."
LangString LV_DAT_ALL_USERS ${LANG_ENGLISH} "Changing files there needs administrator rights: write browser.dat elsewhere, then copy it in and confirm as administrator."
; The finish page's options
LangString LV_RUN ${LANG_ENGLISH} "Choose a browser now"
LangString LV_README ${LANG_ENGLISH} "Show README.txt"
; Message boxes; $R6 is a Windows error code
LangString LV_NOT_ELEVATED ${LANG_ENGLISH} "Linkvane was left as it was: changing it for all users needs administrator rights, and they were not given (error $R6)."
LangString LV_NEEDS_ADMIN ${LANG_ENGLISH} "Installing or removing Linkvane for all users needs administrator rights."
LangString LV_NOT_PROGRAM_FILES ${LANG_ENGLISH} "Linkvane for all users goes into Program Files, where only administrators can change it, since every user runs it from there.$\r$\n$\r$\n$INSTDIR is not in Program Files. Choose a folder there, or install Linkvane for yourself only (without /AllUsers)."
LangString LV_NOT_REGISTERED ${LANG_ENGLISH} "Linkvane is installed, but its file types could not be registered. $\"$INSTDIR\linkvane.exe$\" /register$Scope tells why."
LangString LV_NOT_UNREGISTERED ${LANG_ENGLISH} "Nothing was removed: Linkvane's file types could not be unregistered. $\"$INSTDIR\linkvane.exe$\" /unregister$Scope tells why."
LangString LV_NOT_REMOVED ${LANG_ENGLISH} "$INSTDIR\linkvane.exe could not be removed. Close Linkvane, then uninstall it again."
