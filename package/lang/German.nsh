; German texts of the installer (package/linkvane.nsi).
;
; These translations await review by a native speaker.

; The Start-menu entry's name, a file name: it starts with "Linkvane - " and has none of : \ / * ? " < > |
LangString LV_CHOOSER ${LANG_GERMAN} "Linkvane - Browser auswählen"
; The welcome page; $ModeText is LV_MODE_PER_USER or LV_MODE_ALL_USERS
LangString LV_WELCOME_TEXT ${LANG_GERMAN} "Linkvane öffnet Webverknüpfungen in Ihrem Browser: .webloc-Dateien vom Mac, .desktop-Verknüpfungen aus Linux und die .url-Verknüpfungen von Windows.$\r$\n$\r$\nSetup installiert Linkvane $ModeText in den Ordner$\r$\n$INSTDIR$\r$\n$\r$\nDanach öffnen sich .webloc- und .desktop-Dateien per Doppelklick mit Linkvane (sofern sie keinem anderen Programm zugeordnet sind), und bei .url-Dateien steht Linkvane in der Liste „Öffnen mit“. Deinstallieren können Sie Linkvane unter „Einstellungen > Apps“.$\r$\n$\r$\nKlicken Sie auf „Installieren“, um fortzufahren."
LangString LV_MODE_PER_USER ${LANG_GERMAN} "nur für Sie (ohne Administratorrechte)"
LangString LV_MODE_ALL_USERS ${LANG_GERMAN} "für alle Benutzer dieses Computers"
; The finish page; $DatNote is LV_DAT_PER_USER or LV_DAT_ALL_USERS
LangString LV_FINISH_TITLE ${LANG_GERMAN} "Linkvane ist installiert"
LangString LV_FINISH_TEXT ${LANG_GERMAN} "Linkvane startet Ihren Standardbrowser. Um für sich selbst einen anderen auszuwählen, starten Sie „$(LV_CHOOSER)“ im Startmenü. Für alle Benutzer legen Sie eine Datei namens browser.dat in den Ordner$\r$\n$INSTDIR$\r$\n$DatNote$\r$\n$\r$\nWie das geht, zeigt die Datei browser.dat.example dort; alles Weitere steht in README.txt."
LangString LV_DAT_PER_USER ${LANG_GERMAN} "(im Explorer: %LOCALAPPDATA%\Programs\Linkvane)."
LangString LV_DAT_ALL_USERS ${LANG_GERMAN} "Zum Ändern von Dateien dort sind Administratorrechte erforderlich: Schreiben Sie browser.dat an einem anderen Ort, kopieren Sie die Datei dann hinein, und bestätigen Sie als Administrator."
; The finish page's options
LangString LV_RUN ${LANG_GERMAN} "Jetzt einen Browser auswählen"
LangString LV_README ${LANG_GERMAN} "README.txt anzeigen"
; Message boxes; $R6 is a Windows error code
LangString LV_NOT_ELEVATED ${LANG_GERMAN} "Linkvane wurde nicht verändert: Änderungen für alle Benutzer erfordern Administratorrechte, und diese wurden nicht erteilt (Fehler $R6)."
LangString LV_NEEDS_ADMIN ${LANG_GERMAN} "Zum Installieren oder Entfernen von Linkvane für alle Benutzer sind Administratorrechte erforderlich."
LangString LV_NOT_PROGRAM_FILES ${LANG_GERMAN} "Linkvane für alle Benutzer gehört in den Ordner „Programme“, den nur Administratoren ändern können, denn alle Benutzer starten es von dort.$\r$\n$\r$\n$INSTDIR liegt nicht in „Programme“. Wählen Sie dort einen Ordner, oder installieren Sie Linkvane nur für sich selbst (ohne /AllUsers)."
LangString LV_NOT_REGISTERED ${LANG_GERMAN} "Linkvane ist installiert, aber seine Dateitypen konnten nicht registriert werden. Den Grund nennt $\"$INSTDIR\linkvane.exe$\" /register$Scope."
LangString LV_NOT_UNREGISTERED ${LANG_GERMAN} "Es wurde nichts entfernt: Die Registrierung der Dateitypen von Linkvane konnte nicht aufgehoben werden. Den Grund nennt $\"$INSTDIR\linkvane.exe$\" /unregister$Scope."
LangString LV_NOT_REMOVED ${LANG_GERMAN} "$INSTDIR\linkvane.exe konnte nicht entfernt werden. Schließen Sie Linkvane, und deinstallieren Sie es dann erneut."
