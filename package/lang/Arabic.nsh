; Arabic texts of the installer (package/linkvane.nsi).
;
; These translations await review by a native speaker.

; The Start-menu entry's name, a file name: it starts with "Linkvane - " and has none of : \ / * ? " < > |
LangString LV_CHOOSER ${LANG_ARABIC} "Linkvane - اختيار مستعرض"
; The welcome page; $ModeText is LV_MODE_PER_USER or LV_MODE_ALL_USERS
LangString LV_WELCOME_TEXT ${LANG_ARABIC} "يفتح Linkvane ملفات اختصارات مواقع الويب في المستعرض: ملفات .webloc من Mac، وارتباطات .desktop من Linux، واختصارات .url الخاصة بـ Windows.$\r$\n$\r$\nسيثبّت برنامج الإعداد Linkvane $ModeText في المجلد$\r$\n$INSTDIR$\r$\n$\r$\nبعد ذلك تُفتح ملفات .webloc و.desktop بواسطة Linkvane عند النقر المزدوج (ما لم تكن مقترنة ببرنامج آخر)، ويظهر Linkvane في قائمة $\"فتح باستخدام$\" لملفات .url. يمكنك إلغاء تثبيته من $\"الإعدادات > التطبيقات$\".$\r$\n$\r$\nانقر فوق $\"تنصيب$\" للمتابعة."
LangString LV_MODE_PER_USER ${LANG_ARABIC} "لك وحدك، دون الحاجة إلى حقوق المسؤول،"
LangString LV_MODE_ALL_USERS ${LANG_ARABIC} "لجميع مستخدمي هذا الكمبيوتر"
; The finish page; $DatNote is LV_DAT_PER_USER or LV_DAT_ALL_USERS
LangString LV_FINISH_TITLE ${LANG_ARABIC} "تم تثبيت Linkvane"
LangString LV_FINISH_TEXT ${LANG_ARABIC} "يبدأ Linkvane تشغيل المستعرض الافتراضي. لاختيار مستعرض آخر لنفسك، ابدأ تشغيل $\"$(LV_CHOOSER)$\" من قائمة ابدأ. ولجميع المستخدمين، ضع ملفاً باسم browser.dat في المجلد$\r$\n$INSTDIR$\r$\n$DatNote$\r$\n$\r$\nيوضح الملف browser.dat.example الموجود هناك الطريقة، ويشرح README.txt الباقي."
LangString LV_DAT_PER_USER ${LANG_ARABIC} "(في مستكشف الملفات: %LOCALAPPDATA%\Programs\Linkvane)."
LangString LV_DAT_ALL_USERS ${LANG_ARABIC} "يتطلب تغيير الملفات هناك حقوق المسؤول: اكتب browser.dat في مكان آخر، ثم انسخه إلى هناك وأكّد بصفتك المسؤول."
; The finish page's options
LangString LV_RUN ${LANG_ARABIC} "اختيار مستعرض الآن"
LangString LV_README ${LANG_ARABIC} "عرض README.txt"
; Message boxes; $R6 is a Windows error code
LangString LV_NOT_ELEVATED ${LANG_ARABIC} "لم يتم تغيير Linkvane: يتطلب تغييره لجميع المستخدمين حقوق المسؤول، ولم يتم منحها (الخطأ $R6)."
LangString LV_NEEDS_ADMIN ${LANG_ARABIC} "يتطلب تثبيت Linkvane أو إزالته لجميع المستخدمين حقوق المسؤول."
LangString LV_NOT_PROGRAM_FILES ${LANG_ARABIC} "يُثبَّت Linkvane لجميع المستخدمين في Program Files، حيث لا يستطيع تغييره إلا المسؤولون، لأن جميع المستخدمين يشغّلونه من هناك.$\r$\n$\r$\nالمجلد $INSTDIR ليس داخل Program Files. اختر مجلداً هناك، أو ثبّت Linkvane لنفسك فقط (دون /AllUsers)."
LangString LV_NOT_REGISTERED ${LANG_ARABIC} "تم تثبيت Linkvane، لكن تعذّر تسجيل أنواع ملفاته. يوضح الأمر $\"$INSTDIR\linkvane.exe$\" /register$Scope السبب."
LangString LV_NOT_UNREGISTERED ${LANG_ARABIC} "لم تتم إزالة أي شيء: تعذّر إلغاء تسجيل أنواع ملفات Linkvane. يوضح الأمر $\"$INSTDIR\linkvane.exe$\" /unregister$Scope السبب."
LangString LV_NOT_REMOVED ${LANG_ARABIC} "تعذّرت إزالة $INSTDIR\linkvane.exe. أغلق Linkvane، ثم ألغِ تثبيته مرة أخرى."
