; Spanish texts of the installer (package/linkvane.nsi).
;
; These translations await review by a native speaker.

; The Start-menu entry's name, a file name: it starts with "Linkvane - " and has none of : \ / * ? " < > |
LangString LV_CHOOSER ${LANG_SPANISH} "Linkvane - elegir un explorador"
; The welcome page; $ModeText is LV_MODE_PER_USER or LV_MODE_ALL_USERS
LangString LV_WELCOME_TEXT ${LANG_SPANISH} "Linkvane abre archivos de acceso directo a ubicaciones web en su explorador: archivos .webloc de Mac, vínculos .desktop de Linux y los propios accesos directos .url de Windows.$\r$\n$\r$\nEl programa de instalación instalará Linkvane $ModeText en$\r$\n$INSTDIR$\r$\n$\r$\nDespués, los archivos .webloc y .desktop se abrirán con Linkvane al hacer doble clic (salvo que estén asociados a otro programa), y los archivos .url mostrarán Linkvane en su lista $\"Abrir con$\". Puede desinstalarlo en $\"Configuración > Aplicaciones$\".$\r$\n$\r$\nHaga clic en $\"Instalar$\" para continuar."
LangString LV_MODE_PER_USER ${LANG_SPANISH} "solo para usted, sin necesidad de permisos de administrador,"
LangString LV_MODE_ALL_USERS ${LANG_SPANISH} "para todos los usuarios de este equipo"
; The finish page; $DatNote is LV_DAT_PER_USER or LV_DAT_ALL_USERS
LangString LV_FINISH_TITLE ${LANG_SPANISH} "Linkvane está instalado"
LangString LV_FINISH_TEXT ${LANG_SPANISH} "Linkvane inicia su explorador predeterminado. Para elegir otro para usted, inicie $\"$(LV_CHOOSER)$\" en el menú Inicio. Para todos los usuarios, coloque un archivo llamado browser.dat en$\r$\n$INSTDIR$\r$\n$DatNote$\r$\n$\r$\nEl archivo browser.dat.example de esa carpeta muestra cómo hacerlo; README.txt explica el resto."
LangString LV_DAT_PER_USER ${LANG_SPANISH} "(%LOCALAPPDATA%\Programs\Linkvane en el Explorador de archivos)."
LangString LV_DAT_ALL_USERS ${LANG_SPANISH} "Para cambiar archivos en esa carpeta se necesitan permisos de administrador: escriba browser.dat en otra ubicación, cópielo después en esa carpeta y confirme como administrador."
; The finish page's options
LangString LV_RUN ${LANG_SPANISH} "Elegir un explorador ahora"
LangString LV_README ${LANG_SPANISH} "Mostrar README.txt"
; Message boxes; $R6 is a Windows error code
LangString LV_NOT_ELEVATED ${LANG_SPANISH} "Linkvane no se ha modificado: para cambiarlo para todos los usuarios se necesitan permisos de administrador, y no se concedieron (error $R6)."
LangString LV_NEEDS_ADMIN ${LANG_SPANISH} "Para instalar o quitar Linkvane para todos los usuarios se necesitan permisos de administrador."
LangString LV_NOT_PROGRAM_FILES ${LANG_SPANISH} "Linkvane para todos los usuarios se instala en Archivos de programa, donde solo los administradores pueden cambiarlo, ya que todos los usuarios lo ejecutan desde allí.$\r$\n$\r$\n$INSTDIR no está en Archivos de programa. Elija una carpeta allí o instale Linkvane solo para usted (sin /AllUsers)."
LangString LV_NOT_REGISTERED ${LANG_SPANISH} "Linkvane está instalado, pero no se pudieron registrar sus tipos de archivo. $\"$INSTDIR\linkvane.exe$\" /register$Scope indica el motivo."
LangString LV_NOT_UNREGISTERED ${LANG_SPANISH} "No se quitó nada: no se pudo anular el registro de los tipos de archivo de Linkvane. $\"$INSTDIR\linkvane.exe$\" /unregister$Scope indica el motivo."
LangString LV_NOT_REMOVED ${LANG_SPANISH} "No se pudo quitar $INSTDIR\linkvane.exe. Cierre Linkvane y vuelva a desinstalarlo."
