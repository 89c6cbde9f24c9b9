; French texts of the installer (package/linkvane.nsi).
;
; These translations await review by a native speaker.

; The Start-menu entry's name, a file name: it starts with "Linkvane - " and has none of : \ / * ? " < > |
LangString LV_CHOOSER ${LANG_FRENCH} "Linkvane - choisir un navigateur"
; The welcome page; $ModeText is LV_MODE_PER_USER or LV_MODE_ALL_USERS
LangString LV_WELCOME_TEXT ${LANG_FRENCH} "Linkvane ouvre dans votre navigateur les fichiers de raccourci vers des emplacements web : fichiers .webloc d'un Mac, liens .desktop de Linux et raccourcis .url de Windows.$\r$\n$\r$\nLe programme d'installation installe Linkvane $ModeText dans$\r$\n$INSTDIR$\r$\n$\r$\nEnsuite, les fichiers .webloc et .desktop s'ouvrent avec Linkvane d'un double-clic (sauf s'ils sont associés à un autre programme), et Linkvane figure dans la liste « Ouvrir avec » des fichiers .url. Pour le désinstaller : Paramètres > Applications.$\r$\n$\r$\nCliquez sur « Installer » pour continuer."
LangString LV_MODE_PER_USER ${LANG_FRENCH} "pour vous seul, sans droits d'administrateur,"
LangString LV_MODE_ALL_USERS ${LANG_FRENCH} "pour tous les utilisateurs de cet ordinateur"
; The finish page; $DatNote is LV_DAT_PER_USER or LV_DAT_ALL_USERS
LangString LV_FINISH_TITLE ${LANG_FRENCH} "Linkvane est installé"
LangString LV_FINISH_TEXT ${LANG_FRENCH} "Linkvane démarre votre navigateur par défaut. Pour en choisir un autre pour vous, lancez « $(LV_CHOOSER) » dans le menu Démarrer. Pour tous les utilisateurs, placez un fichier nommé browser.dat dans$\r$\n$INSTDIR$\r$\n$DatNote$\r$\n$\r$\nLe fichier browser.dat.example de ce dossier montre comment faire ; README.txt explique le reste."
LangString LV_DAT_PER_USER ${LANG_FRENCH} "(%LOCALAPPDATA%\Programs\Linkvane dans l'Explorateur de fichiers)."
LangString LV_DAT_ALL_USERS ${LANG_FRENCH} "La modification des fichiers de ce dossier nécessite des droits d'administrateur : écrivez browser.dat ailleurs, puis copiez-le dans ce dossier et confirmez en tant qu'administrateur."
; The finish page's options
LangString LV_RUN ${LANG_FRENCH} "Choisir un navigateur maintenant"
LangString LV_README ${LANG_FRENCH} "Afficher README.txt"
; Message boxes; $R6 is a Windows error code
LangString LV_NOT_ELEVATED ${LANG_FRENCH} "Linkvane n'a pas été modifié : le modifier pour tous les utilisateurs nécessite des droits d'administrateur, qui n'ont pas été accordés (erreur $R6)."
LangString LV_NEEDS_ADMIN ${LANG_FRENCH} "L'installation ou la suppression de Linkvane pour tous les utilisateurs nécessite des droits d'administrateur."
LangString LV_NOT_PROGRAM_FILES ${LANG_FRENCH} "Linkvane pour tous les utilisateurs s'installe dans Programmes, que seuls les administrateurs peuvent modifier, car tous les utilisateurs l'exécutent depuis cet emplacement.$\r$\n$\r$\n$INSTDIR ne se trouve pas dans Programmes. Choisissez un dossier dans Programmes, ou installez Linkvane pour vous seul (sans /AllUsers)."
LangString LV_NOT_REGISTERED ${LANG_FRENCH} "Linkvane est installé, mais ses types de fichiers n'ont pas pu être enregistrés. $\"$INSTDIR\linkvane.exe$\" /register$Scope en indique la raison."
LangString LV_NOT_UNREGISTERED ${LANG_FRENCH} "Rien n'a été supprimé : l'enregistrement des types de fichiers de Linkvane n'a pas pu être annulé. $\"$INSTDIR\linkvane.exe$\" /unregister$Scope en indique la raison."
LangString LV_NOT_REMOVED ${LANG_FRENCH} "Impossible de supprimer $INSTDIR\linkvane.exe. Fermez Linkvane, puis désinstallez-le de nouveau."
