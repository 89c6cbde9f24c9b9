; Japanese texts of the installer (package/linkvane.nsi).
;
; These translations await review by a native speaker.

; The Start-menu entry's name, a file name: it starts with "Linkvane - " and has none of : \ / * ? " < > |
LangString LV_CHOOSER ${LANG_JAPANESE} "Linkvane - ブラウザーの選択"
; The welcome page; $ModeText is LV_MODE_PER_USER or LV_MODE_ALL_USERS
LangString LV_WELCOME_TEXT ${LANG_JAPANESE} "Linkvane は、Web ショートカット (Mac の .webloc、Linux の .desktop、Windows の .url) をブラウザーで開きます。$\r$\n$\r$\nセットアップは Linkvane を$ModeText次のフォルダーにインストールします。$\r$\n$INSTDIR$\r$\n$\r$\nインストール後は、.webloc と .desktop をダブルクリックすると Linkvane で開きます (別のプログラムの関連付けがない場合)。.url では「プログラムから開く」に Linkvane が表示されます。アンインストールは「設定」>「アプリ」で行えます。$\r$\n$\r$\n続行するには「インストール」をクリックします。"
LangString LV_MODE_PER_USER ${LANG_JAPANESE} "現在のユーザー専用に (管理者権限不要)、"
LangString LV_MODE_ALL_USERS ${LANG_JAPANESE} "このコンピューターのすべてのユーザーを対象に、"
; The finish page; $DatNote is LV_DAT_PER_USER or LV_DAT_ALL_USERS
LangString LV_FINISH_TITLE ${LANG_JAPANESE} "Linkvane をインストールしました"
LangString LV_FINISH_TEXT ${LANG_JAPANESE} "Linkvane は既定のブラウザーを起動します。ご自分用に別のブラウザーを選ぶには、スタート メニューの「$(LV_CHOOSER)」を起動してください。すべてのユーザーを対象にするには、browser.dat という名前のファイルを次のフォルダーに置いてください。$\r$\n$INSTDIR$\r$\n$DatNote$\r$\n$\r$\n書き方はそのフォルダーの browser.dat.example を、その他の説明は README.txt をご覧ください。"
LangString LV_DAT_PER_USER ${LANG_JAPANESE} "(エクスプローラーでは %LOCALAPPDATA%\Programs\Linkvane)"
LangString LV_DAT_ALL_USERS ${LANG_JAPANESE} "このフォルダーのファイルを変更するには管理者権限が必要です。browser.dat を別の場所で作成してからこのフォルダーにコピーし、管理者として確認してください。"
; The finish page's options
LangString LV_RUN ${LANG_JAPANESE} "今すぐブラウザーを選択する"
LangString LV_README ${LANG_JAPANESE} "README.txt を表示する"
; Message boxes; $R6 is a Windows error code
LangString LV_NOT_ELEVATED ${LANG_JAPANESE} "Linkvane は変更されていません。すべてのユーザーを対象とする変更には管理者権限が必要ですが、許可されませんでした (エラー $R6)。"
LangString LV_NEEDS_ADMIN ${LANG_JAPANESE} "すべてのユーザーを対象に Linkvane をインストールまたは削除するには、管理者権限が必要です。"
LangString LV_NOT_PROGRAM_FILES ${LANG_JAPANESE} "すべてのユーザーが使う Linkvane は、管理者だけが変更できる Program Files にインストールします。すべてのユーザーがそこから実行するためです。$\r$\n$\r$\n$INSTDIR は Program Files 内にありません。Program Files 内のフォルダーを選ぶか、Linkvane をご自分専用に (/AllUsers なしで) インストールしてください。"
LangString LV_NOT_REGISTERED ${LANG_JAPANESE} "Linkvane はインストールされましたが、ファイルの種類を登録できませんでした。理由は $\"$INSTDIR\linkvane.exe$\" /register$Scope で確認できます。"
LangString LV_NOT_UNREGISTERED ${LANG_JAPANESE} "何も削除されていません。Linkvane のファイルの種類の登録を解除できませんでした。理由は $\"$INSTDIR\linkvane.exe$\" /unregister$Scope で確認できます。"
LangString LV_NOT_REMOVED ${LANG_JAPANESE} "$INSTDIR\linkvane.exe を削除できませんでした。Linkvane を閉じてから、もう一度アンインストールしてください。"
