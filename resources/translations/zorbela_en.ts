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
    <name>DealerText</name>
    <message>
        <source>Oyuna katıldın (%1. oyuncu olarak)</source>
        <translation>Joined the game as player %1</translation>
    </message>
    <message>
        <source>Oyuna başlamak için %1 kişi bekleniyor... (Mevcut oyuncularla başlamak için F2 tuşuna basın)</source>
        <translation>Waiting for %1 more players... (F2 starts with the players here)</translation>
    </message>
    <message>
        <source>%1 bağlantısı koptu, yerine bilgisayar oynuyor.</source>
        <translation>%1 lost the connection; the computer plays in that seat.</translation>
    </message>
    <message>
        <source>%1 oyuna geri döndü.</source>
        <translation>%1 is back in the game.</translation>
    </message>
    <message>
        <source>Hamle süresi yok.</source>
        <translation>No time limit for moves.</translation>
    </message>
    <message>
        <source>Hamle süresi: kağıt için %1, oyun seçmek için %2.</source>
        <translation>Time for a move: %1 to play a card, %2 to choose a contract.</translation>
    </message>
    <message>
        <source>%1 sn</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>sınırsız</source>
        <translation>unlimited</translation>
    </message>
    <message>
        <source>%1 üst üste %2 kez süresini doldurdu; kendisi bir şey yapana kadar yerine bilgisayar oynuyor.</source>
        <translation>%1 ran out of time %2 times in a row; the computer plays in that seat until %1 makes a move.</translation>
    </message>
    <message>
        <source>%1 için süre doldu; bu hamleyi bilgisayar yapıyor.</source>
        <translation>Time is up for %1; the computer makes this move.</translation>
    </message>
    <message>
        <source>Masa kilitlendi: yeni oyuncu alınmıyor.</source>
        <translation>The table is locked: no new players are taken.</translation>
    </message>
    <message>
        <source>Masanın kilidi açıldı.</source>
        <translation>The table is unlocked.</translation>
    </message>
    <message>
        <source>Masa sahibi %1 yerine bilgisayarı oynatıyor; %1 bir şey yapınca yeniden kendisi oynar.</source>
        <translation>The host lets the computer play for %1; %1 plays again on making a move.</translation>
    </message>
    <message>
        <source>Masa sahibi seni bu oyundan çıkardı.</source>
        <translation>The host removed you from this game.</translation>
    </message>
    <message>
        <source>Masa sahibi %1 oyuncusunu bu oyundan çıkardı; yerine bilgisayar oynuyor.</source>
        <translation>The host removed %1 from this game; the computer plays in that seat.</translation>
    </message>
    <message>
        <source>Bu masa oyun saklamıyor.</source>
        <translation>This table keeps no games.</translation>
    </message>
    <message>
        <source>Bu ad kullanılamaz: %1</source>
        <translation>This name cannot be used: %1</translation>
    </message>
    <message>
        <source>Dosya açılamıyor!</source>
        <translation>The file cannot be opened!</translation>
    </message>
    <message>
        <source>Masada boş yer yok!</source>
        <translation>There is no free seat at the table!</translation>
    </message>
    <message>
        <source>Masa ayarları geçersiz.</source>
        <translation>The table settings are not valid.</translation>
    </message>
    <message>
        <source>Masa adı geçersiz.</source>
        <translation>The table name is not valid.</translation>
    </message>
    <message>
        <source>Böyle bir masa yok.</source>
        <translation>There is no such table.</translation>
    </message>
    <message>
        <source>Bu masada izleyici yeri kalmadı.</source>
        <translation>This table has no room for more watchers.</translation>
    </message>
    <message>
        <source>Sunucuda yeni masaya yer yok.</source>
        <translation>The server has no room for a new table.</translation>
    </message>
    <message>
        <source>Bu adresten açılabilecek masa sayısı doldu.</source>
        <translation>This address has opened as many tables as it may.</translation>
    </message>
</context>
<context>
    <name>Refusal</name>
    <message>
        <source>Sinek</source>
        <translation>clubs</translation>
    </message>
    <message>
        <source>Karo</source>
        <translation>diamonds</translation>
    </message>
    <message>
        <source>Kupa</source>
        <translation>hearts</translation>
    </message>
    <message>
        <source>Maça</source>
        <translation>spades</translation>
    </message>
    <message>
        <source>Bilinmeyen</source>
        <translation>an unknown suit</translation>
    </message>
    <message>
        <source>Kupa almaz veya Rıfkı almaz&apos;da kupa çıkılmadan kupa çekilmez!</source>
        <translation>In No Hearts and No King of Hearts you may not lead hearts before hearts have been played!</translation>
    </message>
    <message>
        <source>Elinde %1 varken niye %2 oynuyorsun?</source>
        <translation>Why are you playing %2 while you hold %1?</translation>
    </message>
    <message>
        <source>Kupa almaz veya Rıfkı Almaz&apos;da elinde kupa varsa kupa satmak zorundasın!</source>
        <translation>In No Hearts and No King of Hearts you must discard a heart while you hold one!</translation>
    </message>
    <message>
        <source>Rıfkı almaz&apos;da kağıt satarken öncelikle Rıfkı&apos;yı satmak zorundasın!</source>
        <translation>In No King of Hearts you must discard the King of Hearts first!</translation>
    </message>
    <message>
        <source>Kız Almaz&apos;da kağıt satarken öncelikle Kız satmak zorundasın!</source>
        <translation>In No Queens you must discard a queen first!</translation>
    </message>
    <message>
        <source>Erkek Almaz&apos;da kağıt satarken öncelikle Erkek satmak zorundasın!</source>
        <translation>In No Jacks or Kings you must discard a jack or a king first!</translation>
    </message>
    <message>
        <source>Koz %1 ve sende %1 var!</source>
        <translation>Trumps are %1 and you hold %1!</translation>
    </message>
    <message>
        <source>Rıfkı almaz&apos;da Rıfkı&apos;yı verebiliyorsan vermek zorundasın!</source>
        <translation>In No King of Hearts you must give the King of Hearts when you can!</translation>
    </message>
    <message>
        <source>Kız Almaz&apos;da yerde aynı seriden Kızdan büyük bir kağıt varsa öncelikle Kız oynamak zorundasın!</source>
        <translation>In No Queens you must play the queen first when a higher card of its suit lies in the trick!</translation>
    </message>
    <message>
        <source>Erkek Almaz&apos;da yerde aynı seriden As varsa öncelikle Papaz oynamak zorundasın!</source>
        <translation>In No Jacks or Kings you must play the king first when the ace of its suit lies in the trick!</translation>
    </message>
    <message>
        <source>Erkek Almaz&apos;da yerde aynı seriden Vale&apos;den büyük bir kağıt varsa öncelikle Vale oynamak zorundasın!</source>
        <translation>In No Jacks or Kings you must play the jack first when a card higher than the jack of its suit lies in the trick!</translation>
    </message>
    <message>
        <source>Koz oynarken yükseltmek mecburidir!</source>
        <translation>When trumps are played you must play higher!</translation>
    </message>
</context>
<context>
    <name>SaveGame</name>
    <message>
        <source>Dosya açılamıyor!</source>
        <translation>The file cannot be opened!</translation>
    </message>
    <message>
        <source>Oyunu kaydet</source>
        <translation>Save the game</translation>
    </message>
    <message>
        <source>Bu isimde zaten bir dosya var, değiştirmek istiyor musunuz?</source>
        <translation>A file with this name exists already. Do you want to replace it?</translation>
    </message>
    <message>
        <source>Oyun yükle</source>
        <translation>Load a game</translation>
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
    <name>TComputerForMe</name>
    <message>
        <source>Bilgisayar oynayamadı!</source>
        <translation>The computer could not play!</translation>
    </message>
</context>
<context>
    <name>TConnectForm</name>
    <message>
        <source>%1 adresindeki dağıtıcıyla bağlantı koptu.</source>
        <translation>The connection with the dealer at %1 broke.</translation>
    </message>
    <message>
        <source>%1 adında bir bilgisayar bulunamadı.</source>
        <translation>No computer named %1 was found.</translation>
    </message>
    <message>
        <source>%1 adresinde dağıtıcı bulunamadı.</source>
        <translation>No dealer was found at %1.</translation>
    </message>
    <message>
        <source>%1 adresindeki dağıtıcı bağlantıyı kapattı.</source>
        <translation>The dealer at %1 closed the connection.</translation>
    </message>
    <message>
        <source>%1 adresine ulaşılamadı.</source>
        <translation>%1 could not be reached.</translation>
    </message>
    <message>
        <source>Oyunun olduğu bilgisayar adresini giriniz</source>
        <translation>Enter the address of the computer with the game</translation>
    </message>
    <message>
        <source>Adres</source>
        <translation>Host</translation>
    </message>
    <message>
        <source>sunucu ya da sunucu:port</source>
        <translation>server or server:port</translation>
    </message>
    <message>
        <source>Adres anlaşılamadı. Örnek: 192.168.1.5, sunucu:33472 ya da [::1]:33472</source>
        <translation>The address was not understood. For example: 192.168.1.5, server:33472 or [::1]:33472</translation>
    </message>
</context>
<context>
    <name>TFormOptions</name>
    <message>
        <source>Seçenekler</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Kural %1</source>
        <translation>Rule %1</translation>
    </message>
    <message>
        <source>Oyuncu %1</source>
        <translation>Player %1</translation>
    </message>
</context>
<context>
    <name>TGameCommands</name>
    <message>
        <source>Bağlantı koptu, yeniden bağlanılıyor (%1 sn)...</source>
        <translation>Connection lost, reconnecting (%1 s)...</translation>
    </message>
    <message>
        <source>Yeniden bağlanma durduruldu.</source>
        <translation>Reconnecting stopped.</translation>
    </message>
    <message>
        <source>Masada boş yer yok!</source>
        <translation>There is no free seat at the table!</translation>
    </message>
    <message>
        <source>Player: Bilinmeyen bir paket alındı</source>
        <translation>Player: an unknown message arrived</translation>
    </message>
    <message>
        <source>Kare tamamlandı!<byte value="xd"/><byte value="xd"/>Yeni bir oyuna başlamak için &apos;Evet&apos;<byte value="xd"/>Dosyadan yüklemek için &apos;Hayır&apos;<byte value="xd"/>tuşuna bas...</source>
        <translation>The table is complete!<byte value="xd"/><byte value="xd"/>Press &apos;Yes&apos; to start a new game,<byte value="xd"/>&apos;No&apos; to load one from a file...</translation>
    </message>
    <message>
        <source>Oyun devam ediyor...

</source>
        <translation>The game is in progress...

</translation>
    </message>
    <message>
        <source>Bu oyunu bırakıp yeni bir oyuna başlamak istediğinden emin misin?</source>
        <translation>Are you sure you want to leave this game and start a new one?</translation>
    </message>
    <message>
        <source>Oyunun adı:</source>
        <translation>Name of the game:</translation>
    </message>
    <message>
        <source>Bu oyunu bırakıp kaydedilmiş bir oyunu yüklemek istediğinden emin misin?</source>
        <translation>Are you sure you want to leave this game and load a saved one?</translation>
    </message>
    <message>
        <source>Oyun yüklenmedi: yeni oyun başlıyor</source>
        <translation>No game was loaded: a new game starts</translation>
    </message>
    <message>
        <source>Kayıtlı oyun yok.</source>
        <translation>There are no saved games.</translation>
    </message>
    <message>
        <source>Yüklenecek oyun:</source>
        <translation>Game to load:</translation>
    </message>
    <message>
        <source>Oyun devam ediyor...

Çıkarsan yerine bilgisayar oynar. Çıkmak istediğinden emin misin?</source>
        <translation>The game is in progress...

If you leave, the computer plays in your seat. Are you sure you want to leave?</translation>
    </message>
    <message>
        <source>Oyun devam ediyor...<byte value="xd"/><byte value="xd"/>Kaydetmeden çıkmak istediğinden emin misin? </source>
        <translation>The game is in progress...<byte value="xd"/><byte value="xd"/>Are you sure you want to leave without saving? </translation>
    </message>
    <message>
        <source>

Masa bu programda: çıkarsan diğer oyuncular için de oyun biter.</source>
        <translation>

The table is in this program: if you leave, the game ends for the other players too.</translation>
    </message>
    <message>
        <source>Henüz bir masada değilsin: yazdığını okuyacak kimse yok.</source>
        <translation>You are not at a table yet: nobody would read what you write.</translation>
    </message>
    <message>
        <source>Ne dinonuz?</source>
        <translation>What do you say?</translation>
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
    <name>TStartFlow</name>
    <message>
        <source>Dağıtıcı başlatılamadı! %1 numaralı port kullanımda; &quot;Ayarlar&quot; menüsünden başka bir port seçebilirsin.</source>
        <translation>The dealer could not start! Port %1 is in use; you can choose another port in the &quot;Settings&quot; menu.</translation>
    </message>
</context>
<context>
    <name>TMenus</name>
    <message>
        <source>&amp;Oyun</source>
        <translation>&amp;Game</translation>
    </message>
    <message>
        <source>&amp;Başla</source>
        <translation>&amp;Start</translation>
    </message>
    <message>
        <source>Sadece bunu bilgisayar oynasın</source>
        <translation>Let the computer play this one</translation>
    </message>
    <message>
        <source>İpucu</source>
        <translation>Hint</translation>
    </message>
    <message>
        <source>&amp;Yeni</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>Kaydet</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Yükle</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>Oyundan Çık</source>
        <translation>Quit the game</translation>
    </message>
    <message>
        <source>Bağlantı</source>
        <translation>Connection</translation>
    </message>
    <message>
        <source>Yeni Bir Oyuna Bağlan</source>
        <translation>Connect to a new game</translation>
    </message>
    <message>
        <source>Yeniden bağlanmayı durdur</source>
        <translation>Stop reconnecting</translation>
    </message>
    <message>
        <source>Yeni Oyuncuları Bekle</source>
        <translation>Wait for new players</translation>
    </message>
    <message>
        <source>Nasıl Oynamak Istersin</source>
        <translation>How do you want to play</translation>
    </message>
    <message>
        <source>Ayarlar</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Sesli</source>
        <translation>Sound</translation>
    </message>
    <message>
        <source>Yerime daima bilgisayar oynasın</source>
        <translation>The computer always plays for me</translation>
    </message>
    <message>
        <source>Hızlı</source>
        <translation>Quick</translation>
    </message>
    <message>
        <source>Oyun saat yönünde döner</source>
        <translation>The game turns clockwise</translation>
    </message>
    <message>
        <source>Tek kartı kendisi oynasın</source>
        <translation>Play a single card by itself</translation>
    </message>
    <message>
        <source>Dağıtıcı her oyuncuya dört eli de göndersin</source>
        <translation>The dealer sends every player all four hands</translation>
    </message>
    <message>
        <source>Masada kağıtlar yine kapalı görünür; yalnızca bütün elleri isteyen programlar için (bir sonraki masadan itibaren)</source>
        <translation>The cards on the table still look face down; only for programs that want every hand (from the next table on)</translation>
    </message>
    <message>
        <source>Dağıtıcının portu...</source>
        <translation>Dealer&apos;s port...</translation>
    </message>
    <message>
        <source>Bilgisayar seviyesi</source>
        <translation>Computer level</translation>
    </message>
    <message>
        <source>Dil</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Dil, program yeniden başlatılınca değişir.</source>
        <translation>The language changes when the program is started again.</translation>
    </message>
    <message>
        <source>Pencere</source>
        <translation>Window</translation>
    </message>
    <message>
        <source>&amp;Puan Tablosu</source>
        <translation>&amp;Score Table</translation>
    </message>
    <message>
        <source>&amp;Alınan Kağıtlar</source>
        <translation>&amp;Taken Cards</translation>
    </message>
    <message>
        <source>En&apos;ler</source>
        <translation>Best and Worst</translation>
    </message>
    <message>
        <source>&amp;Yardım</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Yardım başlıkları</source>
        <translation>Help topics</translation>
    </message>
    <message>
        <source>Program hakkında</source>
        <translation>About the program</translation>
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
    <name>TOwnDealer</name>
    <message>
        <source>Masayı bu programda kurarken kullanılacak port (şu an %1, olağanı %2). Katılanlar adrese &quot;:port&quot; ekler.</source>
        <translation>The port of a table set up in this program (now %1, usually %2). Players who join add &quot;:port&quot; to the address.</translation>
    </message>
    <message>
        <source>Port 1 ile 65535 arasında bir sayı olmalı.</source>
        <translation>The port must be a number from 1 to 65535.</translation>
    </message>
    <message>
        <source>Dağıtıcı bundan sonra %1 numaralı portu kullanacak.</source>
        <translation>From now on the dealer uses port %1.</translation>
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
    <name>TScoreForm</name>
    <message>
        <source>El Almaz (50)</source>
        <translation>No Tricks (50)</translation>
    </message>
    <message>
        <source>Kupa Almaz (30)</source>
        <translation>No Hearts (30)</translation>
    </message>
    <message>
        <source>Kız Almaz (100)</source>
        <translation>No Queens (100)</translation>
    </message>
    <message>
        <source>Erkek Almaz (60)</source>
        <translation>No J and K (60)</translation>
    </message>
    <message>
        <source>Soniki Almaz (180)</source>
        <translation>No Last Two (180)</translation>
    </message>
    <message>
        <source>Rıfkı Almaz (320)</source>
        <translation>No King ♥ (320)</translation>
    </message>
    <message>
        <source>Ceza Toplam</source>
        <translation>Penalty Total</translation>
    </message>
    <message>
        <source>Koz Toplam (50)</source>
        <translation>Trump Total (50)</translation>
    </message>
    <message>
        <source>Genel Toplam</source>
        <translation>Grand Total</translation>
    </message>
    <message>
        <source>▲ seçilmiş, △ seçilecek ceza oyunu (her oyuncu 3 tane seçer)
● seçilmiş, ○ seçilecek koz (her oyuncu 2 tane seçer)
Kırmızı çizgi: bu ceza oyunu bir kez seçildi
Kırmızı ve mavi çarpı: iki kez seçildi, artık seçilemez
Mavi sütun: senin puanların
Masada sarı isim: bu elin oyununu seçen</source>
        <translation>▲ chosen, △ still to choose: penalty contracts (each player chooses 3)
● chosen, ○ still to choose: trumps (each player chooses 2)
Red line: this penalty contract was chosen once
Red and blue cross: chosen twice, no longer available
Blue column: your scores
Yellow name at the table: who chose this hand&apos;s contract</translation>
    </message>
    <message>
        <source>Henüz seçilmedi; iki kez seçilebilir.</source>
        <translation>Not chosen yet; it can be chosen twice.</translation>
    </message>
    <message>
        <source>Bir kez seçildi (kırmızı çizgi); bir kez daha seçilebilir.</source>
        <translation>Chosen once (red line); it can be chosen once more.</translation>
    </message>
    <message>
        <source>İki kez seçildi (kırmızı ve mavi çizgi); artık seçilemez.</source>
        <translation>Chosen twice (red and blue line); it can no longer be chosen.</translation>
    </message>
    <message>
        <source>%1: %2 ceza oyunu (▲) ve %3 koz (●) seçti; %4 ceza oyunu (△) ve %5 koz (○) seçecek.</source>
        <translation>%1 chose %2 penalty contracts (▲) and %3 trumps (●); %4 penalty contracts (△) and %5 trumps (○) to choose.</translation>
    </message>
    <message>
        <source>Mavi sütun: senin puanların.</source>
        <translation>Blue column: your scores.</translation>
    </message>
    <message>
        <source>Puan Tablosu</source>
        <translation>Score Table</translation>
    </message>
</context>
<context>
    <name>TServerTables</name>
    <message>
        <source>&amp;Masa</source>
        <translation>&amp;Table</translation>
    </message>
    <message>
        <source>Masalar...</source>
        <translation>Tables...</translation>
    </message>
    <message>
        <source>Bir oyuncunun yerine bilgisayar oynasın...</source>
        <translation>Let the computer play for a player...</translation>
    </message>
    <message>
        <source>Bir oyuncuyu bu oyundan çıkar...</source>
        <translation>Remove a player from this game...</translation>
    </message>
    <message>
        <source>Masayı kilitle</source>
        <translation>Lock the table</translation>
    </message>
    <message>
        <source>Hamle süresi...</source>
        <translation>Turn clock...</translation>
    </message>
    <message>
        <source>Yerine bilgisayar oynayacak oyuncu:</source>
        <translation>Player the computer plays for:</translation>
    </message>
    <message>
        <source>Bu oyundan çıkarılacak oyuncu:</source>
        <translation>Player to remove from this game:</translation>
    </message>
    <message>
        <source>Süre yok</source>
        <translation>No time limit</translation>
    </message>
    <message>
        <source>Kağıt %1 sn, oyun seçimi %2 sn</source>
        <translation>Card %1 s, contract %2 s</translation>
    </message>
    <message>
        <source>Hamle süresi:</source>
        <translation>Turn clock:</translation>
    </message>
    <message>
        <source>Masa kuruluyor...</source>
        <translation>Creating the table...</translation>
    </message>
    <message>
        <source>%1 masasına katılınıyor...</source>
        <translation>Joining the table %1...</translation>
    </message>
    <message>
        <source>%1 masasını izliyorsun.</source>
        <translation>You are watching the table %1.</translation>
    </message>
    <message>
        <source>%1 masası</source>
        <translation>%1's table</translation>
    </message>
    <message>
        <source>Sunucuda %1 masa var: &quot;Masalar&quot; penceresinden birine katıl ya da yeni bir masa kur.</source>
        <translation>The server has %1 tables: join one in the &quot;Tables&quot; window or create a new one.</translation>
    </message>
    <message>
        <source>Oyun devam ediyor...

Bu masadan ayrılırsan yerine bilgisayar oynar. Ayrılmak istiyor musun?</source>
        <translation>A game is in progress...

If you leave this table, the computer plays for you. Leave it?</translation>
    </message>
    <message>
        <source>%1 sn kaldı</source>
        <translation>%1 s left</translation>
    </message>
</context>
<context>
    <name>TStatusLine</name>
    <message>
        <source> : bağlanmaya çalışılıyor...</source>
        <translation> : connecting...</translation>
    </message>
    <message>
        <source>Bağlandı</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source> : Bağlantı kesildi!</source>
        <translation> : connection lost!</translation>
    </message>
    <message>
        <source>Masa tamamlandı.</source>
        <translation>The table is complete.</translation>
    </message>
    <message>
        <source>%1 bir kağıt oynayacak...</source>
        <translation>%1 will play a card...</translation>
    </message>
    <message>
        <source>%1 bir oyun şekli seçecek...</source>
        <translation>%1 will choose a contract...</translation>
    </message>
    <message>
        <source>Oyun bitti</source>
        <translation>Game over</translation>
    </message>
</context>
<context>
    <name>TTableView</name>
    <message>
        <source>Yaz</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>Oyun Şekli</source>
        <translation>Contract</translation>
    </message>
    <message>
        <source>&apos;Ruvo&apos;ci %1</source>
        <translation>Player %1</translation>
    </message>
    <message>
        <source>Sarı isim: bu elin oyununu seçen. Çerçeveli isim: sıra onda.</source>
        <translation>Yellow name: who chose this hand&apos;s contract. Framed name: whose turn it is.</translation>
    </message>
</context>
<context>
    <name>TTablesForm</name>
    <message>
        <source>%1 sn</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1 (genel)</source>
        <translation>%1 (general)</translation>
    </message>
    <message>
        <source>(%1 boş yer)</source>
        <translation>(%1 free seats)</translation>
    </message>
    <message>
        <source>Usta</source>
        <translation>Expert</translation>
    </message>
    <message>
        <source>Acemi</source>
        <translation>Novice</translation>
    </message>
    <message>
        <source>yok</source>
        <translation>none</translation>
    </message>
    <message>
        <source>oynanıyor</source>
        <translation>playing</translation>
    </message>
    <message>
        <source>bekliyor</source>
        <translation>waiting</translation>
    </message>
    <message>
        <source>kilitli</source>
        <translation>locked</translation>
    </message>
    <message>
        <source>eller gizli</source>
        <translation>private hands</translation>
    </message>
    <message>
        <source>%1 izleyici</source>
        <translation>%1 watching</translation>
    </message>
    <message>
        <source>Masalar</source>
        <translation>Tables</translation>
    </message>
    <message>
        <source>Masa</source>
        <translation>Table</translation>
    </message>
    <message>
        <source>Oyuncular</source>
        <translation>Players</translation>
    </message>
    <message>
        <source>Seviye</source>
        <translation>Level</translation>
    </message>
    <message>
        <source>Süre (kağıt / oyun)</source>
        <translation>Clock (card / contract)</translation>
    </message>
    <message>
        <source>Durum</source>
        <translation>State</translation>
    </message>
    <message>
        <source>Kod</source>
        <translation>Code</translation>
    </message>
    <message>
        <source>Katıl</source>
        <translation>Join</translation>
    </message>
    <message>
        <source>İzle</source>
        <translation>Watch</translation>
    </message>
    <message>
        <source>Yenile</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>Davet kodu:</source>
        <translation>Invite code:</translation>
    </message>
    <message>
        <source>Kodla katıl</source>
        <translation>Join by code</translation>
    </message>
    <message>
        <source>Yeni masa</source>
        <translation>New table</translation>
    </message>
    <message>
        <source>Adı:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Bilgisayar seviyesi:</source>
        <translation>Computer level:</translation>
    </message>
    <message>
        <source> sn</source>
        <translation> s</translation>
    </message>
    <message>
        <source>sınırsız</source>
        <translation>unlimited</translation>
    </message>
    <message>
        <source>Kağıt için süre:</source>
        <translation>Time for a card:</translation>
    </message>
    <message>
        <source>Oyun seçmek için süre:</source>
        <translation>Time for a contract:</translation>
    </message>
    <message>
        <source>Herkes yalnız kendi elini görsün</source>
        <translation>Everyone sees only their own hand</translation>
    </message>
    <message>
        <source>Masayı kur</source>
        <translation>Create the table</translation>
    </message>
    <message>
        <source>Sunucuda masa yok: yeni bir masa kurabilirsin.</source>
        <translation>The server has no tables: you can create one.</translation>
    </message>
    <message>
        <source>Bu masada boş yer yok; izleyebilirsin.</source>
        <translation>This table has no free seat; you can watch it.</translation>
    </message>
    <message>
        <source>Davet kodu %1 harf ya da rakamdır (örneğin ABC234).</source>
        <translation>An invite code is %1 letters or digits (for example ABC234).</translation>
    </message>
    <message>
        <source>Masaya bir ad ver.</source>
        <translation>Give the table a name.</translation>
    </message>
</context>
<context>
    <name>TUserPrompts</name>
    <message>
        <source>Evet</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Hayır</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Oyuna dön</source>
        <translation>Back to the game</translation>
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
<context>
    <name>TableNews</name>
    <message>
        <source>El %1 / %2</source>
        <translation>Hand %1 / %2</translation>
    </message>
    <message>
        <source>El %1 (%2) bitti: %3.</source>
        <translation>Hand %1 (%2) is over: %3.</translation>
    </message>
    <message>
        <source>Oyun bitti. Kazanan: %1 (%2 puan).</source>
        <translation>Game over. Winner: %1 (%2 points).</translation>
    </message>
    <message>
        <source>Oyun bitti. Kazananlar: %1 (%2 puan).</source>
        <translation>Game over. Winners: %1 (%2 points).</translation>
    </message>
</context>
<context>
    <name>zorbela</name>
    <message>
        <source>Kullanım: zorbela [seçenek]

RUVO, dört kişilik Türk kağıt oyunu: yerel ağda ya da İnternet&apos;te oynanır,
boş yerlerde bilgisayar oynar. Masayı kurmak ya da bir masaya katılmak
için programı seçeneksiz başlatın.

Seçenekler:
  -h, --help     Bu yardımı gösterir.
  -v, --version  Sürümü gösterir.

Qt&apos;nin kendi seçenekleri (-platform, -style, ...) de geçerlidir.
Pencere olmadan masa kurmak için: zorbela-dealer --help
</source>
        <translation>Usage: zorbela [option]

RUVO, the four-player Turkish card game, played over a local network or the
Internet, with the computer in the empty seats. Start the program without an
option to set up a table or to join one.

Options:
  -h, --help     Shows this help.
  -v, --version  Shows the version.

Qt&apos;s own options (-platform, -style, ...) are valid too.
To set up a table without a window: zorbela-dealer --help
</translation>
    </message>
</context>
</TS>
