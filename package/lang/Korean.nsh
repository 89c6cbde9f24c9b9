; Korean texts of the installer (package/linkvane.nsi).
;
; These translations await review by a native speaker.

; The Start-menu entry's name, a file name: it starts with "Linkvane - " and has none of : \ / * ? " < > |
LangString LV_CHOOSER ${LANG_KOREAN} "Linkvane - 브라우저 선택"
; The welcome page; $ModeText is LV_MODE_PER_USER or LV_MODE_ALL_USERS
LangString LV_WELCOME_TEXT ${LANG_KOREAN} "Linkvane은 웹 위치 바로 가기 파일(Mac의 .webloc 파일, Linux의 .desktop 링크, Windows의 .url 바로 가기)을 브라우저에서 엽니다.$\r$\n$\r$\n설치 프로그램은 Linkvane을 $ModeText 다음 폴더에 설치합니다.$\r$\n$INSTDIR$\r$\n$\r$\n설치 후에는 .webloc 파일과 .desktop 파일을 두 번 클릭하면 Linkvane으로 열리며(다른 프로그램에 연결되어 있지 않은 경우), .url 파일의 '연결 프로그램' 목록에 Linkvane이 표시됩니다. 제거는 '설정' > '앱'에서 할 수 있습니다.$\r$\n$\r$\n계속하려면 '설치'를 클릭하세요."
LangString LV_MODE_PER_USER ${LANG_KOREAN} "현재 사용자 전용으로(관리자 권한 필요 없음)"
LangString LV_MODE_ALL_USERS ${LANG_KOREAN} "이 컴퓨터의 모든 사용자용으로"
; The finish page; $DatNote is LV_DAT_PER_USER or LV_DAT_ALL_USERS
LangString LV_FINISH_TITLE ${LANG_KOREAN} "Linkvane이 설치되었습니다"
LangString LV_FINISH_TEXT ${LANG_KOREAN} "Linkvane은 기본 브라우저를 시작합니다. 본인이 사용할 다른 브라우저를 선택하려면 시작 메뉴에서 '$(LV_CHOOSER)'을(를) 시작하세요. 모든 사용자에게 적용하려면 browser.dat라는 파일을 다음 폴더에 넣으세요.$\r$\n$INSTDIR$\r$\n$DatNote$\r$\n$\r$\n작성 방법은 그 폴더의 browser.dat.example에, 나머지 설명은 README.txt에 있습니다."
LangString LV_DAT_PER_USER ${LANG_KOREAN} "(파일 탐색기에서는 %LOCALAPPDATA%\Programs\Linkvane)"
LangString LV_DAT_ALL_USERS ${LANG_KOREAN} "이 폴더의 파일을 변경하려면 관리자 권한이 필요합니다. browser.dat를 다른 위치에서 작성한 다음 이 폴더에 복사하고 관리자로 확인하세요."
; The finish page's options
LangString LV_RUN ${LANG_KOREAN} "지금 브라우저 선택"
LangString LV_README ${LANG_KOREAN} "README.txt 표시"
; Message boxes; $R6 is a Windows error code
LangString LV_NOT_ELEVATED ${LANG_KOREAN} "Linkvane은 변경되지 않았습니다. 모든 사용자용으로 변경하려면 관리자 권한이 필요하지만 권한이 부여되지 않았습니다(오류 $R6)."
LangString LV_NEEDS_ADMIN ${LANG_KOREAN} "모든 사용자용으로 Linkvane을 설치하거나 제거하려면 관리자 권한이 필요합니다."
LangString LV_NOT_PROGRAM_FILES ${LANG_KOREAN} "모든 사용자용 Linkvane은 관리자만 변경할 수 있는 Program Files에 설치합니다. 모든 사용자가 그곳에서 실행하기 때문입니다.$\r$\n$\r$\n$INSTDIR은(는) Program Files 안에 있지 않습니다. Program Files 안의 폴더를 선택하거나, Linkvane을 본인 전용으로(/AllUsers 없이) 설치하세요."
LangString LV_NOT_REGISTERED ${LANG_KOREAN} "Linkvane이 설치되었지만 파일 형식을 등록할 수 없습니다. $\"$INSTDIR\linkvane.exe$\" /register$Scope을(를) 실행하면 이유를 알 수 있습니다."
LangString LV_NOT_UNREGISTERED ${LANG_KOREAN} "아무것도 제거되지 않았습니다. Linkvane의 파일 형식 등록을 해제할 수 없습니다. $\"$INSTDIR\linkvane.exe$\" /unregister$Scope을(를) 실행하면 이유를 알 수 있습니다."
LangString LV_NOT_REMOVED ${LANG_KOREAN} "$INSTDIR\linkvane.exe을(를) 제거할 수 없습니다. Linkvane을 닫은 다음 다시 제거하세요."
