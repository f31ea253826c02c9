// The names of the messages the window procedure handles for the program: closing and
// destroying the window, the 100 ms window timer, and the program messages 1024 to 1088
// with which screens switch screens (1024 to 1076) and drive the recorder (1084 to
// 1088). How each switching message changes the screens is the screen table's
// (LxScreenTable.h); the numbers are fixed because screen descriptions and scripts name
// some of them ("m1062" on the main screen sends kMsgInfoScreen).
#pragma once
#include "media/LxWin.h"

// Window messages.
constexpr UINT kMsgDestroy = 2;
constexpr UINT kMsgClose = 16;
constexpr UINT kMsgTimer = 275; // the 100 ms window timer; also a timer event's message

// Program messages: the first and the last one the window procedure takes.
constexpr UINT kFirstProgramMessage = 1024;
constexpr UINT kLastProgramMessage = 1088;

// Screen switching. A "...Chosen" or "...Done" message answers a pushed screen: it pops
// back to the screen under it, which takes the answer (wParam, -1 for none).
constexpr UINT kMsgMainScreen = 1024;
constexpr UINT kMsgReading = 1025;      // reading game 1 of the current lesson
constexpr UINT kMsgReadingGame1 = 1026; // 1026 to 1031: reading games 1 to 6
constexpr UINT kMsgReadingGame2 = 1027;
constexpr UINT kMsgReadingGame3 = 1028;
constexpr UINT kMsgReadingGame4 = 1029;
constexpr UINT kMsgReadingGame5 = 1030;
constexpr UINT kMsgReadingGame6 = 1031;
constexpr UINT kMsgReadingExtraGame = 1032; // game 7, colouring or domino, by the lesson
constexpr UINT kMsgExtendedMemory = 1033;   // keeps the active screen as the saved one
constexpr UINT kMsgConsonantSelection = 1034;
constexpr UINT kMsgVowelSelection = 1035;
constexpr UINT kMsgPairSelection1 = 1036;
constexpr UINT kMsgPairSelection2 = 1037;
constexpr UINT kMsgPairSelection3 = 1038;
constexpr UINT kMsgReadingLetter = 1039; // wParam a letter code: its game 1, no lesson
constexpr UINT kMsgTherapyPreparation = 1040;
constexpr UINT kMsgTherapyGames = 1041; // 1042 to 1047: therapy games 1 to 6
constexpr UINT kMsgTherapyGame1 = 1042;
constexpr UINT kMsgTherapyGame2 = 1043;
constexpr UINT kMsgTherapyGame3 = 1044;
constexpr UINT kMsgTherapyGame4 = 1045;
constexpr UINT kMsgTherapyGame5 = 1046;
constexpr UINT kMsgTherapyGame6 = 1047;
constexpr UINT kMsgSoundDevelopment = 1048;
constexpr UINT kMsgFixation = 1049;
constexpr UINT kMsgAutomation = 1050;
constexpr UINT kMsgUserSelection = 1053;
constexpr UINT kMsgUserSelected = 1054;
constexpr UINT kMsgTherapySetup = 1055;
constexpr UINT kMsgTherapySetupDone = 1056;
constexpr UINT kMsgVoiceSetup = 1057;
constexpr UINT kMsgVoiceSetupDone = 1058;
constexpr UINT kMsgMemoryGame = 1061;
constexpr UINT kMsgInfoScreen = 1062;
constexpr UINT kMsgExtendedMemoryDone = 1063; // the saved screen comes back
constexpr UINT kMsgWordList = 1065;           // the list screens: wParam count, lParam texts
constexpr UINT kMsgWordChosen = 1066;
constexpr UINT kMsgUserList = 1067;
constexpr UINT kMsgUserChosen = 1068;
constexpr UINT kMsgDayList = 1069;
constexpr UINT kMsgDayChosen = 1070;
constexpr UINT kMsgRecordingList = 1071;
constexpr UINT kMsgRecordingChosen = 1072;
constexpr UINT kMsgSentences = 1073; // wParam != 0: sentences, else words
constexpr UINT kMsgSentenceChosen = 1074;
constexpr UINT kMsgHelp = 1075; // lParam the help page's name; only over a screen
constexpr UINT kMsgHelpDone = 1076;

// The recorder, driven by the recognition driver (LxDriver.h).
constexpr UINT kMsgStop = 1084;
constexpr UINT kMsgPlayBack = 1085;
constexpr UINT kMsgRecord = 1086;
constexpr UINT kMsgPause = 1087; // pauses or resumes play-back
constexpr UINT kMsgStopAndSave = 1088;
