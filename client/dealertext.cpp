#include "dealertext.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <vector>

#include "language.h"

namespace {

// The sentences of this program's dealer, %1 and %2 standing for names and numbers.
const char* const kSentences[] = {
    QT_TRANSLATE_NOOP("DealerText", "Oyuna katıldın (%1. oyuncu olarak)"),
    QT_TRANSLATE_NOOP("DealerText",
                      "Oyuna başlamak için %1 kişi bekleniyor... (Mevcut oyuncularla başlamak için F2 tuşuna basın)"),
    QT_TRANSLATE_NOOP("DealerText", "%1 bağlantısı koptu, yerine bilgisayar oynuyor."),
    QT_TRANSLATE_NOOP("DealerText", "%1 oyuna geri döndü."),
    QT_TRANSLATE_NOOP("DealerText", "Hamle süresi yok."),
    QT_TRANSLATE_NOOP("DealerText", "Hamle süresi: kağıt için %1, oyun seçmek için %2."),
    QT_TRANSLATE_NOOP("DealerText", "%1 sn"),
    QT_TRANSLATE_NOOP("DealerText", "sınırsız"),
    QT_TRANSLATE_NOOP("DealerText",
                      "%1 üst üste %2 kez süresini doldurdu; kendisi bir şey yapana kadar yerine bilgisayar oynuyor."),
    QT_TRANSLATE_NOOP("DealerText", "%1 için süre doldu; bu hamleyi bilgisayar yapıyor."),
    QT_TRANSLATE_NOOP("DealerText", "Masa kilitlendi: yeni oyuncu alınmıyor."),
    QT_TRANSLATE_NOOP("DealerText", "Masanın kilidi açıldı."),
    QT_TRANSLATE_NOOP("DealerText",
                      "Masa sahibi %1 yerine bilgisayarı oynatıyor; %1 bir şey yapınca yeniden kendisi oynar."),
    QT_TRANSLATE_NOOP("DealerText", "Masa sahibi seni bu oyundan çıkardı."),
    QT_TRANSLATE_NOOP("DealerText", "Masa sahibi %1 oyuncusunu bu oyundan çıkardı; yerine bilgisayar oynuyor."),
    QT_TRANSLATE_NOOP("DealerText", "Bu masa oyun saklamıyor."),
    QT_TRANSLATE_NOOP("DealerText", "Bu ad kullanılamaz: %1"),
    QT_TRANSLATE_NOOP("DealerText", "Dosya açılamıyor!"),
    QT_TRANSLATE_NOOP("DealerText", "Masada boş yer yok!"),
    QT_TRANSLATE_NOOP("DealerText", "Masa ayarları geçersiz."),
    QT_TRANSLATE_NOOP("DealerText", "Masa adı geçersiz."),
    QT_TRANSLATE_NOOP("DealerText", "Böyle bir masa yok."),
    QT_TRANSLATE_NOOP("DealerText", "Bu masada izleyici yeri kalmadı."),
    QT_TRANSLATE_NOOP("DealerText", "Sunucuda yeni masaya yer yok."),
    QT_TRANSLATE_NOOP("DealerText", "Bu adresten açılabilecek masa sayısı doldu."),
};

struct TSentence {
    const char* source;
    QRegularExpression pattern; // the sentence with a group for each %n, in order of appearance
    std::vector<int> numbers;   // the n of each group
};

// "%1 oyuna geri döndü." matches "Ayşe oyuna geri döndü."; a number used twice must match
// the same text twice.
TSentence Compile(const char* source)
{
    static const QRegularExpression kMarker(QStringLiteral("%(\\d)"));
    const QString text = QString::fromUtf8(source);
    TSentence s{source, {}, {}};
    QString pattern = QStringLiteral("^");
    qsizetype at = 0;
    for (auto it = kMarker.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        pattern += QRegularExpression::escape(text.mid(at, m.capturedStart() - at));
        const int n = m.captured(1).toInt();
        const auto seen = std::find(s.numbers.begin(), s.numbers.end(), n);
        if (seen == s.numbers.end()) {
            s.numbers.push_back(n);
            pattern += QStringLiteral("(.+?)");
        } else {
            pattern += QStringLiteral("\\%1").arg(seen - s.numbers.begin() + 1);
        }
        at = m.capturedEnd();
    }
    s.pattern.setPattern(pattern + QRegularExpression::escape(text.mid(at)) + QStringLiteral("$"));
    return s;
}

} // namespace

QString DealerText(const QString& text)
{
    if (CurrentLanguage() == TLanguage::Turkish)
        return text;
    static const std::vector<TSentence> sentences = [] {
        std::vector<TSentence> all;
        for (const char* source : kSentences)
            all.push_back(Compile(source));
        return all;
    }();
    for (const TSentence& s : sentences) {
        const QRegularExpressionMatch m = s.pattern.match(text);
        if (!m.hasMatch())
            continue;
        // The parts by their numbers, each in the language too where it is itself a
        // sentence ("30 sn"); filled in one pass, so a name with a % in it stays as it is.
        QStringList parts(qsizetype(s.numbers.size()));
        for (std::size_t i = 0; i < s.numbers.size(); ++i)
            parts[s.numbers[i] - 1] = DealerText(m.captured(int(i) + 1));
        const QString shown = QCoreApplication::translate("DealerText", s.source);
        switch (parts.size()) {
        case 0: return shown;
        case 1: return shown.arg(parts[0]);
        default: return shown.arg(parts[0], parts[1]);
        }
    }
    return text;
}
