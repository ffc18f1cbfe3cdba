#pragma once
// The translation table as the program must carry it: every row in every language.
#include <string>
#include <vector>

inline const std::vector<std::wstring> kCodes = {L"ko", L"en", L"ja", L"zh", L"ru", L"it", L"fr", L"ar"};
inline const std::vector<std::vector<std::wstring>> kRows = {
    {L"처음화면", L"Home", L"ホーム", L"主页", L"Главная", L"Home", L"Accueil", L"الرئيسية"},
    {L"Tarnwick", L"Tarnwick", L"Tarnwick", L"Tarnwick", L"Tarnwick", L"Tarnwick", L"Tarnwick", L"Tarnwick"},
    {L"사용함", L"Enable", L"有効化", L"启用", L"Включить", L"Abilita", L"Activer", L"تفعيل"},
    {L"사용안함", L"Disable", L"無効化", L"禁用", L"Отключить", L"Disabilita", L"Désactiver", L"تعطيل"},
    {L"프로그램 이름", L"Program", L"プログラム", L"程序", L"Программа", L"Programma", L"Programme", L"برنامج"},
    {L"출처", L"Loc", L"場所", L"位", L"Мест", L"Pos", L"Loc", L"موقع"},
    {L"파일 저장", L"Save", L"ファイル保存", L"文件保存", L"Сохранить файл", L"Salva file", L"Enregistrer fichier",
     L"حفظ الملف"},
    {L"텍스트 파일", L"Text", L"テキストファイル", L"文本文件", L"Текстовый файл", L"File di testo", L"Fichier texte",
     L"ملف نصي"},
    {L"모든 파일", L"All", L"すべてのファイル", L"所有文件", L"Все файлы", L"Tutti i file", L"Tous les fichiers",
     L"جميع الملفات"},
    {L"전체목록", L"All Programs", L"全プログラム", L"所有程序", L"Все программы", L"Tutti i programmi",
     L"Tous les programmes", L"جميع البرامج"},
};
