<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="tr_TR">
<context>
    <name>Contract</name>
    <message>
        <source>El Almaz</source>
        <translation>No Tricks</translation>
    </message>
    <message>
        <source>Kupa Almaz</source>
        <translation>No Hearts</translation>
    </message>
    <message>
        <source>Kız Almaz</source>
        <translation>No Queens</translation>
    </message>
    <message>
        <source>Erkek Almaz</source>
        <translation>No Jacks or Kings</translation>
    </message>
    <message>
        <source>Soniki Almaz</source>
        <translation>No Last Two</translation>
    </message>
    <message>
        <source>Rıfkı Almaz</source>
        <translation>No King of Hearts</translation>
    </message>
    <message>
        <source>Koz Sinek</source>
        <translation>Trumps Clubs</translation>
    </message>
    <message>
        <source>Koz Karo</source>
        <translation>Trumps Diamonds</translation>
    </message>
    <message>
        <source>Koz Kupa</source>
        <translation>Trumps Hearts</translation>
    </message>
    <message>
        <source>Koz Maça</source>
        <translation>Trumps Spades</translation>
    </message>
</context>
<context>
    <name>TAboutBox</name>
    <message>
        <source>Program hakkında</source>
        <translation>About the program</translation>
    </message>
    <message>
        <source>Sürüm %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Internet üzerinde dört kişilik RUVO kâğıt oyunu.
Boş yerlerde bilgisayar oynar.</source>
        <translation>RUVO, the four-player card game, on the Internet.
The computer plays the empty seats.</translation>
    </message>
    <message>
        <source>Fendral Yazılım · zorbela@fendral.example</source>
        <translation>Fendral Software · zorbela@fendral.example</translation>
    </message>
    <message>
        <source>Tamam</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>THelpForm</name>
    <message>
        <source>Zorbela Yardım</source>
        <translation>Zorbela Help</translation>
    </message>
</context>
<context>
    <name>THighForm</name>
    <message>
        <source>En&apos;ler Listesi</source>
        <translation>Best and Worst</translation>
    </message>
    <message>
        <source>Toplamda en iyiler</source>
        <translation>Best totals</translation>
    </message>
    <message>
        <source>Toplamda en kötüler</source>
        <translation>Worst totals</translation>
    </message>
    <message>
        <source>Kozda en iyiler</source>
        <translation>Best at trumps</translation>
    </message>
    <message>
        <source>Cezada en kötüler</source>
        <translation>Worst at penalties</translation>
    </message>
</context>
<context>
    <name>TOKRightDlgContracts</name>
    <message>
        <source>Bir oyun şekli seç</source>
        <translation>Choose a contract</translation>
    </message>
</context>
<context>
    <name>TPenaltyForm</name>
    <message>
        <source>Alınanlar</source>
        <translation>Taken cards</translation>
    </message>
    <message>
        <source>&apos;Ruvo&apos;ci %1</source>
        <translation>Player %1</translation>
    </message>
</context>
<context>
    <name>TWelcomeForm</name>
    <message>
        <source>Merhaba</source>
        <translation>Hello</translation>
    </message>
    <message>
        <source>Internet üzerinde RUVO oyununa hoşgeldiniz!</source>
        <translation>Welcome to RUVO on the Internet!</translation>
    </message>
    <message>
        <source>Kullanacağınız isminiz</source>
        <translation>Your name to play under</translation>
    </message>
    <message>
        <source>Nasıl oynamak istersiniz?</source>
        <translation>How do you want to play?</translation>
    </message>
    <message>
        <source>Bir başka oyuna bağlanmak istiyorum</source>
        <translation>I want to join another game</translation>
    </message>
    <message>
        <source>Dağıtıcı olmak istiyorum</source>
        <translation>I want to be the dealer</translation>
    </message>
    <message>
        <source>Kapat</source>
        <translation>Close</translation>
    </message>
</context>
</TS>
