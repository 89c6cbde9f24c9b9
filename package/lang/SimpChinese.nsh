; Simplified Chinese texts of the installer (package/linkvane.nsi).
;
; These translations await review by a native speaker.

; The Start-menu entry's name, a file name: it starts with "Linkvane - " and has none of : \ / * ? " < > |
LangString LV_CHOOSER ${LANG_SIMPCHINESE} "Linkvane - 选择浏览器"
; The welcome page; $ModeText is LV_MODE_PER_USER or LV_MODE_ALL_USERS
LangString LV_WELCOME_TEXT ${LANG_SIMPCHINESE} "Linkvane 在浏览器中打开网址快捷方式文件：来自 Mac 的 .webloc 文件、来自 Linux 的 .desktop 链接，以及 Windows 自己的 .url 快捷方式。$\r$\n$\r$\n安装程序将$ModeText把 Linkvane 安装到$\r$\n$INSTDIR$\r$\n$\r$\n之后，双击 .webloc 和 .desktop 文件时将用 Linkvane 打开（除非它们已关联其他程序），.url 文件的“打开方式”列表中也会出现 Linkvane。可在“设置”>“应用”中卸载它。$\r$\n$\r$\n单击“安装”继续。"
LangString LV_MODE_PER_USER ${LANG_SIMPCHINESE} "仅为您（无需管理员权限）"
LangString LV_MODE_ALL_USERS ${LANG_SIMPCHINESE} "为这台电脑的所有用户"
; The finish page; $DatNote is LV_DAT_PER_USER or LV_DAT_ALL_USERS
LangString LV_FINISH_TITLE ${LANG_SIMPCHINESE} "Linkvane 已安装"
LangString LV_FINISH_TEXT ${LANG_SIMPCHINESE} "Linkvane 会启动您的默认浏览器。若要为自己选择其他浏览器，请在“开始”菜单中启动“$(LV_CHOOSER)”。若要为所有用户设置，请将名为 browser.dat 的文件放入$\r$\n$INSTDIR$\r$\n$DatNote$\r$\n$\r$\n该文件夹中的 browser.dat.example 说明了写法，其余内容请参阅 README.txt。"
LangString LV_DAT_PER_USER ${LANG_SIMPCHINESE} "（在文件资源管理器中为 %LOCALAPPDATA%\Programs\Linkvane）。"
LangString LV_DAT_ALL_USERS ${LANG_SIMPCHINESE} "更改其中的文件需要管理员权限：请先在其他位置编写 browser.dat，然后将其复制进去，并以管理员身份确认。"
; The finish page's options
LangString LV_RUN ${LANG_SIMPCHINESE} "立即选择浏览器"
LangString LV_README ${LANG_SIMPCHINESE} "显示 README.txt"
; Message boxes; $R6 is a Windows error code
LangString LV_NOT_ELEVATED ${LANG_SIMPCHINESE} "Linkvane 未做任何更改：为所有用户更改它需要管理员权限，但未获得授权（错误 $R6）。"
LangString LV_NEEDS_ADMIN ${LANG_SIMPCHINESE} "为所有用户安装或删除 Linkvane 需要管理员权限。"
LangString LV_NOT_PROGRAM_FILES ${LANG_SIMPCHINESE} "为所有用户安装的 Linkvane 应位于 Program Files 中，只有管理员可以更改其中的内容，因为所有用户都从那里运行它。$\r$\n$\r$\n$INSTDIR 不在 Program Files 中。请在其中选择一个文件夹，或者仅为自己安装 Linkvane（不使用 /AllUsers）。"
LangString LV_NOT_REGISTERED ${LANG_SIMPCHINESE} "Linkvane 已安装，但无法注册其文件类型。运行 $\"$INSTDIR\linkvane.exe$\" /register$Scope 可查看原因。"
LangString LV_NOT_UNREGISTERED ${LANG_SIMPCHINESE} "未删除任何内容：无法取消注册 Linkvane 的文件类型。运行 $\"$INSTDIR\linkvane.exe$\" /unregister$Scope 可查看原因。"
LangString LV_NOT_REMOVED ${LANG_SIMPCHINESE} "无法删除 $INSTDIR\linkvane.exe。请关闭 Linkvane，然后再次卸载。"
