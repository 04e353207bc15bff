// Renders the windows of the ui library, filled from a game played by a simple robot up to
// the middle of its seventh hand, into PNG files in OUTPUT_DIR. Settings go to a temporary
// folder, never to the user's own. The windows speak Turkish, or English with "en" after
// the folder.
#include "aboutbox.h"
#include "card.h"
#include "cheer.h"
#include "connectform.h"
#include "contractsdlg.h"
#include "dealertext.h"
#include "gameinfo.h"
#include "helpform.h"
#include "highform.h"
#include "commands.h"
#include "computerforme.h"
#include "language.h"
#include "mainform.h"
#include "menus.h"
#include "seatmodel.h"
#include "settings.h"
#include "tableview.h"
#include "payload.h"
#include "penaltyform.h"
#include "scoreform.h"
#include "selectpanel.h"
#include "tablemessages.h"
#include "tablesform.h"
#include "welcomeform.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QTreeWidget>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>

namespace {

QString outDir;

void Save(QWidget& w, const char* name)
{
    w.show();
    QApplication::processEvents();
    const QString path = outDir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png");
    w.grab().save(path);
    // The same window as a screen scaled to 200 % shows it.
    QImage twice(w.size() * 2, QImage::Format_ARGB32_Premultiplied);
    twice.setDevicePixelRatio(2);
    twice.fill(Qt::transparent);
    {
        QPainter p(&twice);
        w.render(&p);
    }
    twice.setDevicePixelRatio(1);
    twice.save(outDir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral("@2x.png"));
    std::printf("%s %dx%d (and @2x)\n", qPrintable(path), w.width(), w.height());
}

// Plays the first legal card or the first contract allowed until `hands` contracts have
// been chosen and `tricks` tricks of the last hand are played.
TGameInfo PlayedRecord(int hands, int tricks)
{
    TGameInfo g;
    std::memset(&g, 0, sizeof g);
    TRandom rnd(20261207);
    NewGame(g, rnd);
    const char* names[4] = {"Ay\xFE" "e", "Bora", "\xDE" "ener", "Derya"};
    for (int s = 0; s < 4; ++s)
        std::strncpy(g.PlayerName[s], names[s], kNameSize - 1);
    for (int step = 0; step < 5000; ++step) {
        if (g.Phase == psChoosing) {
            if (ContractsPlayed(g) == hands)
                break;
            for (int c = 0; c < kContractCount; ++c)
                if (ContractAvailable(g, g.Chooser, c)) {
                    ChooseContract(g, uint8_t(c));
                    break;
                }
        } else if (g.Phase == psPlaying) {
            if (ContractsPlayed(g) == hands && g.TricksPlayed == tricks && g.TrickCount == 0)
                break;
            const int seat = g.Turn;
            for (int i = 0; i < g.CardCount[seat]; ++i)
                if (CanPlay(g, seat, g.CardSuit[seat][i], g.CardValue[seat][i])) {
                    PlayCard(g, seat, g.CardSuit[seat][i], g.CardValue[seat][i]);
                    break;
                }
        } else if (g.Phase == psTrickComplete) {
            ResolveTrick(g, rnd);
        } else {
            break;
        }
    }
    return g;
}

// A plain green table of the given size for the shots below.
void MakeTable(QWidget& table, int width, int height)
{
    table.resize(width, height);
    QPalette pal = table.palette();
    pal.setColor(QPalette::Window, QColor(0, 110, 40));
    table.setPalette(pal);
    table.setAutoFillBackground(true);
}

// Cards over a green table: faces, a back, selected ones, an overlapping fan.
void CardsShot()
{
    QWidget table;
    MakeTable(table, 420, 230);
    const struct { int x, y; uint8_t suit, value; bool face, selected; } cards[] = {
        {8, 8, Spades, King, true, false},   {86, 8, Hearts, Queen, true, true},
        {164, 8, Diamonds, Ten, true, false}, {242, 8, Clubs, Ace, false, false},
        {320, 8, Clubs, Ace, false, true},
    };
    for (const auto& c : cards) {
        auto* card = new TCard(&table);
        card->move(c.x, c.y);
        card->SetSuit(c.suit);
        card->SetCard(c.value);
        card->SetShowCard(c.face);
        card->SetSelectedCard(c.selected);
    }
    for (int k = 0; k < 13; ++k) {
        auto* card = new TCard(&table);
        card->move(8 + k * 20, 120);
        card->SetSuit(uint8_t(k % 4));
        card->SetCard(uint8_t(12 - k));
        card->SetSelectedCard(k == 5);
    }
    Save(table, "cards");
}

// The game-over animation over a plain green table, after some steps.
void CheerShot(const TGameInfo& finished)
{
    QWidget table;
    MakeTable(table, 640, 480);
    table.show();
    TCheer cheer(&table, QRect(0, 40, 640, 400));
    cheer.Random() = TRandom(20261207);
    cheer.Start(finished);
    for (int tick = 0; tick < 14; ++tick)
        cheer.Tick();
    Save(table, "cheer");
}

// The main window in the middle of a hand as seat 0 sees it, at its designed size, and
// again in a larger window (the table grows with it).
void MainShot(const TGameInfo& g)
{
    TMainForm form;
    form.SetAutoStart(false);
    form.FirstActivation();
    form.show();
    const auto deliver = [&form](TPacketType type, const QByteArray& payload) {
        form.Session().HandlePacket(type, payload);
    };
    // The host of a table at a server of many tables: the "Masa" menu and the turn clock.
    TJoinExtension block;
    block.Flags = TJoinExtension::kKnowsMessages | TJoinExtension::kHost;
    block.TableCode = "K7MX2Q";
    TPayloadWriter joined;
    joined.Byte(0).Text(QStringLiteral("Oyuna katıldın (1. oyuncu olarak)"));
    deliver(JOIN_ACCEPTED, joined.Bytes() + JoinExtensionBytes(block));
    TPayloadWriter waiting;
    waiting.Text(QStringLiteral("Oyuna başlamak için 2 kişi bekleniyor... (Mevcut oyuncularla başlamak için "
                                "F2 tuşuna basın)"));
    deliver(STATUS_TEXT, waiting.Bytes());
    Save(form, "main_waiting");
    TPayloadWriter chat;
    chat.Text(QStringLiteral("Bora: iyi oyunlar!"));
    deliver(CHAT_TEXT, chat.Bytes());
    TPayloadWriter record;
    record.Record(g);
    deliver(GAME_RECORD, record.Bytes());
    deliver(TURN_TIME, TurnTimePayload(g.Turn, 23400));
    Save(form, "main");
    form.resize(900, 1000);
    QApplication::processEvents();
    Save(form, "main_large");
}

// "Masalar": a server's tables, one of them selected, and a refusal under the list.
void TablesShot()
{
    const auto table = [](const char* code, const QString& name, uint8_t level, uint16_t cardS, uint16_t contractS,
                          uint8_t flags, uint8_t watchers, std::array<QByteArray, 4> seats) {
        TTableListing t;
        t.Code = code;
        t.Settings = {name, level, cardS, contractS, flags};
        t.Watchers = watchers;
        t.Seats = seats;
        return t;
    };
    const QList<TTableListing> tables{
        table("K7MX2Q", QStringLiteral("Genel"), 0, 30, 45, TTableSettings::kDefault | TTableSettings::kStarted |
              TTableSettings::kPrivateHands, 2, {"Ay\xFE" "e", "Bora", "Acemi1", "Acemi2"}),
        table("HJ3NPA", QStringLiteral("Çay ocağı"), 1, 20, 40, TTableSettings::kPrivateHands, 0, {"\xDE" "ener", "Derya", "", ""}),
        table("ZZ8RT4", QStringLiteral("Akşam oyunu"), 0, 0, 0, TTableSettings::kLocked, 0, {"Mehmet", "", "", ""}),
        table("B4CQW9", QStringLiteral("Ustalar masası"), 1, 60, 90, TTableSettings::kStarted | TTableSettings::kPrivateHands, 5,
              {"G\xFC" "l", "Usta1", "Kemal", "Usta2"})};
    TTablesForm form;
    form.SetTables(tables);
    form.ProposeName(QCoreApplication::translate("TServerTables", "%1 masası").arg(QStringLiteral("Ayşe")));
    form.List()->topLevelItem(1)->setSelected(true);
    form.SetMessage(DealerText(QStringLiteral("Bu adresten açılabilecek masa sayısı doldu.")));
    form.adjustSize();
    Save(form, "tables");
}

// The best and worst lists after a few earlier results and a whole game played by the
// robot: the game's new entries are red.
void HighShot()
{
    TTopLists earlier;
    const struct { const char* name; int total, penalty, trump; } results[] = {
        {"Gülşen", 1450, -650, 2100}, {"Ömer", -2310, -2810, 500}, {"İlker", 380, -1120, 1500},
        {"Çağrı", -890, -1790, 900},  {"Ayla", 2050, -450, 2500},
    };
    for (const auto& r : results)
        earlier.OfferPlayer(QString::fromUtf8(r.name), r.total, r.penalty, r.trump);
    THighForm high;
    const TGameInfo over = PlayedRecord(21, 0);
    std::printf("lists: %d entries from a game that ended in phase %d\n", high.OfferGame(over), over.Phase);
    if (high.isVisible())
        Save(high, "highform");
    high.close();
}

// The help window on the rules topic.
void HelpShot()
{
    THelpForm help;
    help.ShowHelp();
    help.TreeViewTopics->setCurrentItem(help.TreeViewTopics->topLevelItem(2));
    Save(help, "help_rules");
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QApplication app(argc, argv);
    outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("uishots");
    InstallLanguage(argc > 2 && qstrcmp(argv[2], "en") == 0 ? TLanguage::English : TLanguage::Turkish);
    QDir().mkpath(outDir);

    const TGameInfo mid = PlayedRecord(7, 8);
    TGameInfo start;
    std::memset(&start, 0, sizeof start);
    TRandom rnd(3);
    NewGame(start, rnd);
    uint8_t mySeat = 2;

    TWelcomeForm welcome;
    welcome.LoadSettings();
    Save(welcome, "welcome");
    TConnectForm connect;
    Save(connect, "connect");
    TAboutBox about;
    Save(about, "about");

    TScoreForm score;
    score.Bind(&mid, &mySeat);
    score.Refresh();
    Save(score, "score");

    TPenaltyForm faces;
    faces.Bind(&mid);
    faces.Refresh();
    Save(faces, "penalty_faces");
    TGameInfo tricks = mid;
    tricks.Contract = KozKupa;
    TPenaltyForm backs;
    backs.Bind(&tricks);
    backs.Refresh();
    Save(backs, "penalty_backs");

    uint8_t startSeat = start.Chooser;
    TOKRightDlgContracts all;
    all.Bind(&start, &startSeat);
    Save(all, "contracts_all");
    TOKRightDlgContracts restricted;
    uint8_t midSeat = mid.HandChooser;
    restricted.Bind(&mid, &midSeat);
    restricted.show();
    restricted.SelectPanel->SetItemIndex(2);
    Save(restricted, "contracts_mid");

    CardsShot();
    TGameInfo trick = PlayedRecord(7, 8);
    for (int step = 0; step < 2 && trick.Phase == psPlaying; ++step) {
        const int seat = trick.Turn;
        for (int i = 0; i < trick.CardCount[seat]; ++i)
            if (CanPlay(trick, seat, trick.CardSuit[seat][i], trick.CardValue[seat][i])) {
                PlayCard(trick, seat, trick.CardSuit[seat][i], trick.CardValue[seat][i]);
                break;
            }
    }
    MainShot(trick);
    TablesShot();
    HighShot();
    HelpShot();
    TGameInfo finished = mid;
    const int16_t totals[4] = {-80, 130, 0, -50};
    for (int p = 0; p < 4; ++p)
        finished.Score.Totals[p].Total = totals[p];
    CheerShot(finished);
    std::printf("contract of hand: %d, tricks played %d, taken counts %d %d %d %d\n", mid.Contract,
                mid.TricksPlayed, mid.TakenCount[0], mid.TakenCount[1], mid.TakenCount[2], mid.TakenCount[3]);
    return 0;
}
