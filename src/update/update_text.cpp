#include "update/update_text.h"

#include <array>

namespace {

struct Texts {
  std::wstring_view language;
  std::array<std::wstring_view, 3> question; // three sentences, joined by CR CR
  std::wstring_view status, yes, no;
};

constexpr std::array<Texts, 8> kTexts = {{
    {L"ko",
     {L"업데이트 정보가 있습니다.", L"안정적으로 사용하기 위해 업데이트를 하시길 권장합니다.",
      L"다운로드 받으시겠습니까?"},
     L"업데이트 가능",
     L"예",
     L"아니오"},
    {L"ja",
     {L"このプログラムがアップデートされました。",
      L"安定的に使用するために新しくダウンロード\u00B7実行することをお勧めします。", L"ダウンロードしますか。"},
     L"アップデート可",
     L"はい",
     L"いいえ"},
    {L"zh", {L"该程序已更新。", L"建议下载并执行新程序以稳定使用。", L"您要下载吗？"}, L"可更新", L"是", L"否"},
    {L"de",
     {L"Dieses Programm ist aktualisiert worden.",
      L"Es wird empfohlen, es herunterzuladen und neu auszuführen, um es stabil zu verwenden.",
      L"Möchten Sie es herunterladen?"},
     L"Update möglich",
     L"Ja",
     L"Nein"},
    {L"ru",
     {L"Данная программа была обновлена.", L"Рекомендуется скачать и выполнить новое для стабильного использования.",
      L"Вы хотите загрузить ее?"},
     L"Обновление",
     L"Да",
     L"Нет"},
    {L"it",
     {L"È disponibile una nuova versione del programma.", L"Ti suggeriamo di scaricare ed aggiornare il programma.",
      L"Vuoi scaricare la nuova versione del programma?"},
     L"Aggiornabile",
     L"Sì",
     L"No"},
    {L"fr",
     {L"Ce programme a été mis à jour.",
      L"Il est recommandé de télécharger et d'exécuter la nouvelle version pour une utilisation stable.",
      L"Voulez-vous le télécharger?"},
     L"Maj dispo",
     L"Oui",
     L"Non"},
    {L"",
     {L"This program has been updated.", L"It is recommended to download and execute new for stable use.",
      L"Do you want to download it?"},
     L"Update available",
     L"Yes",
     L"No"},
}};

} // namespace

std::wstring UpdateText(int kind, std::wstring_view language) {
  const Texts* texts = &kTexts.back();
  for (const Texts& t : kTexts) {
    if (t.language == language) {
      texts = &t;
      break;
    }
  }
  switch (kind) {
    case 0:
      return std::wstring(texts->question[0]) + L"\r\r" + std::wstring(texts->question[1]) + L"\r\r" +
             std::wstring(texts->question[2]);
    case 1:
      return std::wstring(texts->status);
    case 2:
      return std::wstring(texts->yes);
    case 3:
      return std::wstring(texts->no);
    default:
      return {};
  }
}
