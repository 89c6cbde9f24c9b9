; Russian texts of the installer (package/linkvane.nsi).
;
; These translations await review by a native speaker.

; The Start-menu entry's name, a file name: it starts with "Linkvane - " and has none of : \ / * ? " < > |
LangString LV_CHOOSER ${LANG_RUSSIAN} "Linkvane - выбор браузера"
; The welcome page; $ModeText is LV_MODE_PER_USER or LV_MODE_ALL_USERS
LangString LV_WELCOME_TEXT ${LANG_RUSSIAN} "Linkvane открывает в браузере файлы ярлыков веб-адресов: файлы .webloc с Mac, ссылки .desktop из Linux и собственные ярлыки Windows .url.$\r$\n$\r$\nLinkvane будет установлен $ModeText в папку$\r$\n$INSTDIR$\r$\n$\r$\nПосле этого файлы .webloc и .desktop будут открываться в Linkvane двойным щелчком (если они не связаны с другой программой), а у файлов .url Linkvane появится в списке «Открыть с помощью». Удалить Linkvane можно в разделе «Параметры > Приложения».$\r$\n$\r$\nНажмите «Установить», чтобы продолжить."
LangString LV_MODE_PER_USER ${LANG_RUSSIAN} "только для вас, без прав администратора,"
LangString LV_MODE_ALL_USERS ${LANG_RUSSIAN} "для всех пользователей этого компьютера"
; The finish page; $DatNote is LV_DAT_PER_USER or LV_DAT_ALL_USERS
LangString LV_FINISH_TITLE ${LANG_RUSSIAN} "Linkvane установлен"
LangString LV_FINISH_TEXT ${LANG_RUSSIAN} "Linkvane запускает браузер по умолчанию. Чтобы выбрать другой браузер для себя, запустите «$(LV_CHOOSER)» в меню «Пуск». Для всех пользователей поместите файл с именем browser.dat в папку$\r$\n$INSTDIR$\r$\n$DatNote$\r$\n$\r$\nКак его составить, показывает файл browser.dat.example в этой папке; остальное описано в README.txt."
LangString LV_DAT_PER_USER ${LANG_RUSSIAN} "(в проводнике: %LOCALAPPDATA%\Programs\Linkvane)."
LangString LV_DAT_ALL_USERS ${LANG_RUSSIAN} "Для изменения файлов в этой папке нужны права администратора: создайте browser.dat в другом месте, затем скопируйте его туда и подтвердите действие как администратор."
; The finish page's options
LangString LV_RUN ${LANG_RUSSIAN} "Выбрать браузер сейчас"
LangString LV_README ${LANG_RUSSIAN} "Показать README.txt"
; Message boxes; $R6 is a Windows error code
LangString LV_NOT_ELEVATED ${LANG_RUSSIAN} "Linkvane не изменен: изменения для всех пользователей требуют прав администратора, а они не были предоставлены (ошибка $R6)."
LangString LV_NEEDS_ADMIN ${LANG_RUSSIAN} "Для установки или удаления Linkvane для всех пользователей нужны права администратора."
LangString LV_NOT_PROGRAM_FILES ${LANG_RUSSIAN} "Linkvane для всех пользователей устанавливается в Program Files, где изменять файлы могут только администраторы, так как все пользователи запускают его оттуда.$\r$\n$\r$\nПапка $INSTDIR находится не в Program Files. Выберите папку там или установите Linkvane только для себя (без /AllUsers)."
LangString LV_NOT_REGISTERED ${LANG_RUSSIAN} "Linkvane установлен, но зарегистрировать его типы файлов не удалось. Причину покажет команда $\"$INSTDIR\linkvane.exe$\" /register$Scope."
LangString LV_NOT_UNREGISTERED ${LANG_RUSSIAN} "Ничего не удалено: не удалось отменить регистрацию типов файлов Linkvane. Причину покажет команда $\"$INSTDIR\linkvane.exe$\" /unregister$Scope."
LangString LV_NOT_REMOVED ${LANG_RUSSIAN} "Не удалось удалить $INSTDIR\linkvane.exe. Закройте Linkvane и повторите удаление."
