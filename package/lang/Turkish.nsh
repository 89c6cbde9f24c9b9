; Turkish texts of the installer (package/linkvane.nsi).
;
; These translations await review by a native speaker.

; The Start-menu entry's name, a file name: it starts with "Linkvane - " and has none of : \ / * ? " < > |
LangString LV_CHOOSER ${LANG_TURKISH} "Linkvane - tarayıcı seç"
; The welcome page; $ModeText is LV_MODE_PER_USER or LV_MODE_ALL_USERS
LangString LV_WELCOME_TEXT ${LANG_TURKISH} "Linkvane, web konumu kısayol dosyalarını tarayıcınızda açar: Mac'ten gelen .webloc dosyaları, Linux'tan gelen .desktop bağlantıları ve Windows'un kendi .url kısayolları.$\r$\n$\r$\nKurulum, Linkvane'i $ModeText şu klasöre yükleyecek:$\r$\n$INSTDIR$\r$\n$\r$\nArdından .webloc ve .desktop dosyaları çift tıklandığında Linkvane ile açılır (başka bir programla ilişkilendirilmemişlerse) ve .url dosyalarının $\"Birlikte aç$\" listesinde Linkvane yer alır. Kaldırmak için $\"Ayarlar > Uygulamalar$\" bölümünü kullanın.$\r$\n$\r$\nDevam etmek için $\"Kur$\" düğmesine tıklayın."
LangString LV_MODE_PER_USER ${LANG_TURKISH} "yalnızca sizin için, yönetici izinleri gerekmeden,"
LangString LV_MODE_ALL_USERS ${LANG_TURKISH} "bu bilgisayarın tüm kullanıcıları için"
; The finish page; $DatNote is LV_DAT_PER_USER or LV_DAT_ALL_USERS
LangString LV_FINISH_TITLE ${LANG_TURKISH} "Linkvane yüklendi"
LangString LV_FINISH_TEXT ${LANG_TURKISH} "Linkvane varsayılan tarayıcınızı başlatır. Kendiniz için başka bir tarayıcı seçmek üzere Başlat menüsünde $\"$(LV_CHOOSER)$\" öğesini başlatın. Tüm kullanıcılar için browser.dat adlı bir dosyayı şu klasöre koyun:$\r$\n$INSTDIR$\r$\n$DatNote$\r$\n$\r$\nOradaki browser.dat.example dosyası nasıl yapılacağını gösterir; gerisini README.txt anlatır."
LangString LV_DAT_PER_USER ${LANG_TURKISH} "(Dosya Gezgini'nde %LOCALAPPDATA%\Programs\Linkvane)."
LangString LV_DAT_ALL_USERS ${LANG_TURKISH} "Oradaki dosyaları değiştirmek yönetici izinleri gerektirir: browser.dat dosyasını başka bir yerde yazın, sonra oraya kopyalayın ve yönetici olarak onaylayın."
; The finish page's options
LangString LV_RUN ${LANG_TURKISH} "Şimdi bir tarayıcı seç"
LangString LV_README ${LANG_TURKISH} "README.txt dosyasını göster"
; Message boxes; $R6 is a Windows error code
LangString LV_NOT_ELEVATED ${LANG_TURKISH} "Linkvane değiştirilmedi: tüm kullanıcılar için değiştirmek yönetici izinleri gerektirir ve bu izinler verilmedi (hata $R6)."
LangString LV_NEEDS_ADMIN ${LANG_TURKISH} "Linkvane'i tüm kullanıcılar için yüklemek veya kaldırmak yönetici izinleri gerektirir."
LangString LV_NOT_PROGRAM_FILES ${LANG_TURKISH} "Tüm kullanıcılar için Linkvane, yalnızca yöneticilerin değiştirebildiği $\"Program Dosyaları$\" klasörüne yüklenir; çünkü tüm kullanıcılar onu oradan çalıştırır.$\r$\n$\r$\n$INSTDIR, $\"Program Dosyaları$\" içinde değil. Orada bir klasör seçin veya Linkvane'i yalnızca kendiniz için yükleyin (/AllUsers olmadan)."
LangString LV_NOT_REGISTERED ${LANG_TURKISH} "Linkvane yüklendi, ancak dosya türleri kaydedilemedi. Nedenini $\"$INSTDIR\linkvane.exe$\" /register$Scope gösterir."
LangString LV_NOT_UNREGISTERED ${LANG_TURKISH} "Hiçbir şey kaldırılmadı: Linkvane'in dosya türlerinin kaydı silinemedi. Nedenini $\"$INSTDIR\linkvane.exe$\" /unregister$Scope gösterir."
LangString LV_NOT_REMOVED ${LANG_TURKISH} "$INSTDIR\linkvane.exe kaldırılamadı. Linkvane'i kapatın ve yeniden kaldırın."
