#pragma once

// The numbers of Linkvane's texts, shared by the code and by the string tables of
// res/lang/*.rc. The English text of each is in src/language/english.cpp; {1}, {2}, ... mark
// where a value goes, so that a language can put it where its grammar wants it.

// The launch's boxes.
#define IDS_FILE_NOT_FOUND 1
#define IDS_NO_BROWSER_COMMAND 2
#define IDS_NO_URL_FOUND 3
#define IDS_URL_HAS_SPACES 4
#define IDS_CANNOT_EXECUTE 5
#define IDS_NOT_A_WEB_PAGE 6
#define IDS_ENVIRONMENT_IN_URL 7
#define IDS_UNEXPECTED_ERROR 8
#define IDS_NOT_A_PROGRAM 9
#define IDS_A_DLL 10
#define IDS_TEMPLATE_TOO_SHORT 11
#define IDS_OSINT_ALONE 12
#define IDS_SINGLE_ARGUMENT_LAST 13
#define IDS_NO_SCRIPT_HOST 14
#define IDS_NOT_ENOUGH_MEMORY 15
#define IDS_UNKNOWN_ERROR 16

// The requests' boxes (/register, /unregister). Each ..._FOR_ALL follows its ..._FOR_YOU.
#define IDS_REGISTERED_FOR_YOU 17
#define IDS_REGISTERED_FOR_ALL 18
#define IDS_NOT_REGISTERED_FOR_YOU 19
#define IDS_NOT_REGISTERED_FOR_ALL 20
#define IDS_CANNOT_REGISTER_FOR_YOU 21
#define IDS_CANNOT_REGISTER_FOR_ALL 22
#define IDS_UNREGISTERED_FOR_YOU 23
#define IDS_UNREGISTERED_FOR_ALL 24
#define IDS_CANNOT_UNREGISTER_FOR_YOU 25
#define IDS_CANNOT_UNREGISTER_FOR_ALL 26
#define IDS_OTHER_COPY_FOR_YOU 27
#define IDS_OTHER_COPY_FOR_ALL 28
#define IDS_UNPROTECTED_COPY 29
#define IDS_NOTHING_CHANGED 30
#define IDS_TAKEN_ONE 31
#define IDS_TAKEN_TWO 32
#define IDS_KEPT_ONE 33

#define IDS_KEPT_TWO 34
#define IDS_URL_STAYS 35
#define IDS_ENTRIES_MAY_REMAIN 36
#define IDS_OTHERS_STAY 37
#define IDS_UNREGISTER_THAT_COPY 38
#define IDS_NOTHING_TO_REMOVE 39
#define IDS_ERROR_CODE 40
#define IDS_AS_ADMINISTRATOR 41

// The usage box.
#define IDS_USAGE_SHORTCUT_FILE 42
#define IDS_USAGE_OPEN 43
#define IDS_USAGE_REGISTER 44
#define IDS_USAGE_UNREGISTER 45
#define IDS_USAGE_CHOOSE 46
#define IDS_USAGE_OPENWITH 47
#define IDS_USAGE_ALLUSERS 48
#define IDS_USAGE_QUIET 49
#define IDS_TAKES_ONE_SHORTCUT 50
#define IDS_SWITCHES_CONFLICT 51
#define IDS_UNKNOWN_SWITCH 52

// The chooser and the Open dialogs.
#define IDS_CHOOSER_TITLE 53
#define IDS_CHOOSER_PROMPT 54
#define IDS_CHOOSER_OTHER 55
#define IDS_CHOOSER_COMMAND 56
#define IDS_CHOOSER_OK 57
#define IDS_CHOOSER_CANCEL 58
#define IDS_NO_CHOICE_BROWSER_DAT 59
#define IDS_NO_CHOICE_NO_DEFAULT 60
#define IDS_NO_CHOICE_DEFAULT 61
#define IDS_ONCE_TITLE 62
#define IDS_ONCE_PROMPT 63
#define IDS_ONCE_ALWAYS 64
#define IDS_ONCE_NEEDS_BROWSER 65
#define IDS_NO_LOCAL_APPDATA 66
#define IDS_CANNOT_SAVE 67
#define IDS_OLD_FILE_NOW_AT 68
#define IDS_ANSI_CANNOT_HOLD 69
#define IDS_SHORTCUT_FILES 70
#define IDS_ALL_FILES 71
#define IDS_PROGRAMS 72
#define IDS_OPEN_WITH_VERB 73
#define IDS_HOW_TO_OPEN_WITH 74

// One past the last text.
#define IDS_END 75
