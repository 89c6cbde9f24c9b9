; Brazilian Portuguese texts of the installer (package/linkvane.nsi).
;
; These translations await review by a native speaker.

; The Start-menu entry's name, a file name: it starts with "Linkvane - " and has none of : \ / * ? " < > |
LangString LV_CHOOSER ${LANG_PORTUGUESEBR} "Linkvane - escolher um navegador"
; The welcome page; $ModeText is LV_MODE_PER_USER or LV_MODE_ALL_USERS
LangString LV_WELCOME_TEXT ${LANG_PORTUGUESEBR} "O Linkvane abre arquivos de atalho para locais da Web no seu navegador: arquivos .webloc do Mac, links .desktop do Linux e os atalhos .url do próprio Windows.$\r$\n$\r$\nO instalador instalará o Linkvane $ModeText em$\r$\n$INSTDIR$\r$\n$\r$\nDepois disso, os arquivos .webloc e .desktop serão abertos com o Linkvane com um clique duplo (a menos que estejam associados a outro programa), e os arquivos .url terão o Linkvane na lista $\"Abrir com$\". Para desinstalá-lo, use $\"Configurações > Aplicativos$\".$\r$\n$\r$\nClique em $\"Instalar$\" para continuar."
LangString LV_MODE_PER_USER ${LANG_PORTUGUESEBR} "somente para você, sem precisar de privilégios de administrador,"
LangString LV_MODE_ALL_USERS ${LANG_PORTUGUESEBR} "para todos os usuários deste computador"
; The finish page; $DatNote is LV_DAT_PER_USER or LV_DAT_ALL_USERS
LangString LV_FINISH_TITLE ${LANG_PORTUGUESEBR} "O Linkvane está instalado"
LangString LV_FINISH_TEXT ${LANG_PORTUGUESEBR} "O Linkvane inicia o seu navegador padrão. Para escolher outro para você, inicie $\"$(LV_CHOOSER)$\" no menu Iniciar. Para todos os usuários, coloque um arquivo chamado browser.dat em$\r$\n$INSTDIR$\r$\n$DatNote$\r$\n$\r$\nO arquivo browser.dat.example dessa pasta mostra como fazer; o README.txt explica o restante."
LangString LV_DAT_PER_USER ${LANG_PORTUGUESEBR} "(%LOCALAPPDATA%\Programs\Linkvane no Explorador de Arquivos)."
LangString LV_DAT_ALL_USERS ${LANG_PORTUGUESEBR} "Alterar arquivos nessa pasta exige privilégios de administrador: escreva o browser.dat em outro local, copie-o para essa pasta e confirme como administrador."
; The finish page's options
LangString LV_RUN ${LANG_PORTUGUESEBR} "Escolher um navegador agora"
LangString LV_README ${LANG_PORTUGUESEBR} "Mostrar README.txt"
; Message boxes; $R6 is a Windows error code
LangString LV_NOT_ELEVATED ${LANG_PORTUGUESEBR} "O Linkvane não foi alterado: alterá-lo para todos os usuários exige privilégios de administrador, e eles não foram concedidos (erro $R6)."
LangString LV_NEEDS_ADMIN ${LANG_PORTUGUESEBR} "Instalar ou remover o Linkvane para todos os usuários exige privilégios de administrador."
LangString LV_NOT_PROGRAM_FILES ${LANG_PORTUGUESEBR} "O Linkvane para todos os usuários fica em Arquivos de Programas, onde somente administradores podem alterá-lo, pois todos os usuários o executam de lá.$\r$\n$\r$\n$INSTDIR não está em Arquivos de Programas. Escolha uma pasta lá ou instale o Linkvane somente para você (sem /AllUsers)."
LangString LV_NOT_REGISTERED ${LANG_PORTUGUESEBR} "O Linkvane está instalado, mas não foi possível registrar os tipos de arquivo dele. $\"$INSTDIR\linkvane.exe$\" /register$Scope informa o motivo."
LangString LV_NOT_UNREGISTERED ${LANG_PORTUGUESEBR} "Nada foi removido: não foi possível cancelar o registro dos tipos de arquivo do Linkvane. $\"$INSTDIR\linkvane.exe$\" /unregister$Scope informa o motivo."
LangString LV_NOT_REMOVED ${LANG_PORTUGUESEBR} "Não foi possível remover $INSTDIR\linkvane.exe. Feche o Linkvane e desinstale-o novamente."
