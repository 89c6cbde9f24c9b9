; Traditional Chinese texts of the installer (package/linkvane.nsi).
;
; These translations await review by a native speaker.

; The Start-menu entry's name, a file name: it starts with "Linkvane - " and has none of : \ / * ? " < > |
LangString LV_CHOOSER ${LANG_TRADCHINESE} "Linkvane - 選擇瀏覽器"
; The welcome page; $ModeText is LV_MODE_PER_USER or LV_MODE_ALL_USERS
LangString LV_WELCOME_TEXT ${LANG_TRADCHINESE} "Linkvane 會在瀏覽器中開啟網址捷徑檔案：來自 Mac 的 .webloc 檔案、來自 Linux 的 .desktop 連結，以及 Windows 本身的 .url 捷徑。$\r$\n$\r$\n安裝程式將$ModeText把 Linkvane 安裝到$\r$\n$INSTDIR$\r$\n$\r$\n之後，按兩下 .webloc 和 .desktop 檔案時會以 Linkvane 開啟（除非已與其他程式建立關聯），.url 檔案的 「開啟檔案」清單中也會出現 Linkvane。可在 「設定」>「應用程式」中解除安裝。$\r$\n$\r$\n按一下 「安裝」以繼續。"
LangString LV_MODE_PER_USER ${LANG_TRADCHINESE} "僅為您（不需要系統管理員權限）"
LangString LV_MODE_ALL_USERS ${LANG_TRADCHINESE} "為這部電腦的所有使用者"
; The finish page; $DatNote is LV_DAT_PER_USER or LV_DAT_ALL_USERS
LangString LV_FINISH_TITLE ${LANG_TRADCHINESE} "Linkvane 已安裝"
LangString LV_FINISH_TEXT ${LANG_TRADCHINESE} "Linkvane 會啟動您的預設瀏覽器。若要為自己選擇其他瀏覽器，請在 「開始」功能表中啟動「$(LV_CHOOSER)」。若要為所有使用者設定，請將名為 browser.dat 的檔案放入$\r$\n$INSTDIR$\r$\n$DatNote$\r$\n$\r$\n該資料夾中的 browser.dat.example 說明了寫法，其餘內容請參閱 README.txt。"
LangString LV_DAT_PER_USER ${LANG_TRADCHINESE} "（在檔案總管中為 %LOCALAPPDATA%\Programs\Linkvane）。"
LangString LV_DAT_ALL_USERS ${LANG_TRADCHINESE} "變更其中的檔案需要系統管理員權限：請先在其他位置撰寫 browser.dat，再將其複製進去，並以系統管理員身分確認。"
; The finish page's options
LangString LV_RUN ${LANG_TRADCHINESE} "立即選擇瀏覽器"
LangString LV_README ${LANG_TRADCHINESE} "顯示 README.txt"
; Message boxes; $R6 is a Windows error code
LangString LV_NOT_ELEVATED ${LANG_TRADCHINESE} "Linkvane 未經任何變更：為所有使用者變更它需要系統管理員權限，但未獲授權（錯誤 $R6）。"
LangString LV_NEEDS_ADMIN ${LANG_TRADCHINESE} "為所有使用者安裝或移除 Linkvane 需要系統管理員權限。"
LangString LV_NOT_PROGRAM_FILES ${LANG_TRADCHINESE} "為所有使用者安裝的 Linkvane 應位於 Program Files 中，只有系統管理員可以變更其中的內容，因為所有使用者都從那裡執行它。$\r$\n$\r$\n$INSTDIR 不在 Program Files 中。請在其中選擇資料夾，或只為自己安裝 Linkvane（不使用 /AllUsers）。"
LangString LV_NOT_REGISTERED ${LANG_TRADCHINESE} "Linkvane 已安裝，但無法註冊其檔案類型。執行 $\"$INSTDIR\linkvane.exe$\" /register$Scope 可查看原因。"
LangString LV_NOT_UNREGISTERED ${LANG_TRADCHINESE} "未移除任何項目：無法取消註冊 Linkvane 的檔案類型。執行 $\"$INSTDIR\linkvane.exe$\" /unregister$Scope 可查看原因。"
LangString LV_NOT_REMOVED ${LANG_TRADCHINESE} "無法移除 $INSTDIR\linkvane.exe。請關閉 Linkvane，然後再次解除安裝。"
