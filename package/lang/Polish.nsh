; Polish texts of the installer (package/linkvane.nsi).
;
; These translations await review by a native speaker.

; The Start-menu entry's name, a file name: it starts with "Linkvane - " and has none of : \ / * ? " < > |
LangString LV_CHOOSER ${LANG_POLISH} "Linkvane - wybierz przeglądarkę"
; The welcome page; $ModeText is LV_MODE_PER_USER or LV_MODE_ALL_USERS
LangString LV_WELCOME_TEXT ${LANG_POLISH} "Linkvane otwiera w przeglądarce skróty internetowe: pliki .webloc z komputerów Mac, łącza .desktop z systemu Linux i skróty .url systemu Windows.$\r$\n$\r$\nInstalator zainstaluje program Linkvane $ModeText w folderze$\r$\n$INSTDIR$\r$\n$\r$\nPotem pliki .webloc i .desktop otworzą się w programie Linkvane po dwukrotnym kliknięciu (chyba że są skojarzone z innym programem), a pliki .url będą miały program Linkvane na liście „Otwórz za pomocą”. Program można odinstalować w obszarze „Ustawienia > Aplikacje”.$\r$\n$\r$\nKliknij przycisk „Zainstaluj”, aby kontynuować."
LangString LV_MODE_PER_USER ${LANG_POLISH} "tylko dla Ciebie (bez uprawnień administratora)"
LangString LV_MODE_ALL_USERS ${LANG_POLISH} "dla wszystkich użytkowników tego komputera"
; The finish page; $DatNote is LV_DAT_PER_USER or LV_DAT_ALL_USERS
LangString LV_FINISH_TITLE ${LANG_POLISH} "Program Linkvane został zainstalowany"
LangString LV_FINISH_TEXT ${LANG_POLISH} "Linkvane uruchamia domyślną przeglądarkę. Aby wybrać inną tylko dla siebie, uruchom pozycję „$(LV_CHOOSER)” w menu Start. Dla wszystkich użytkowników umieść plik o nazwie browser.dat w folderze$\r$\n$INSTDIR$\r$\n$DatNote$\r$\n$\r$\nPlik browser.dat.example w tym folderze pokazuje, jak to zrobić; resztę opisuje plik README.txt."
LangString LV_DAT_PER_USER ${LANG_POLISH} "(w Eksploratorze plików: %LOCALAPPDATA%\Programs\Linkvane)."
LangString LV_DAT_ALL_USERS ${LANG_POLISH} "Zmiana plików w tym folderze wymaga uprawnień administratora: zapisz plik browser.dat w innym miejscu, a następnie skopiuj go do tego folderu i potwierdź jako administrator."
; The finish page's options
LangString LV_RUN ${LANG_POLISH} "Wybierz przeglądarkę teraz"
LangString LV_README ${LANG_POLISH} "Pokaż plik README.txt"
; Message boxes; $R6 is a Windows error code
LangString LV_NOT_ELEVATED ${LANG_POLISH} "Program Linkvane nie został zmieniony: zmiana dla wszystkich użytkowników wymaga uprawnień administratora, które nie zostały udzielone (błąd $R6)."
LangString LV_NEEDS_ADMIN ${LANG_POLISH} "Zainstalowanie lub usunięcie programu Linkvane dla wszystkich użytkowników wymaga uprawnień administratora."
LangString LV_NOT_PROGRAM_FILES ${LANG_POLISH} "Program Linkvane dla wszystkich użytkowników jest instalowany w folderze Pliki programów, który mogą zmieniać tylko administratorzy, ponieważ wszyscy użytkownicy uruchamiają go z tego miejsca.$\r$\n$\r$\nFolder $INSTDIR nie znajduje się w folderze Pliki programów. Wybierz folder w tym miejscu lub zainstaluj program Linkvane tylko dla siebie (bez opcji /AllUsers)."
LangString LV_NOT_REGISTERED ${LANG_POLISH} "Program Linkvane został zainstalowany, ale nie można zarejestrować jego typów plików. Przyczynę podaje polecenie $\"$INSTDIR\linkvane.exe$\" /register$Scope."
LangString LV_NOT_UNREGISTERED ${LANG_POLISH} "Nic nie zostało usunięte: nie można wyrejestrować typów plików programu Linkvane. Przyczynę podaje polecenie $\"$INSTDIR\linkvane.exe$\" /unregister$Scope."
LangString LV_NOT_REMOVED ${LANG_POLISH} "Nie można usunąć pliku $INSTDIR\linkvane.exe. Zamknij program Linkvane, a następnie ponownie go odinstaluj."
