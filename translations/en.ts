<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>battle</name>
    <message>
        <source>殴りつける</source>
        <translation>Punch</translation>
    </message>
    <message>
        <source>殴</source>
        <translation>Punch</translation>
    </message>
    <message>
        <source>噛み付く</source>
        <translation>Bite</translation>
    </message>
    <message>
        <source>噛</source>
        <translation>Bite</translation>
    </message>
    <message>
        <source>蹴りつける</source>
        <translation>Kick</translation>
    </message>
    <message>
        <source>蹴</source>
        <translation>Kick</translation>
    </message>
    <message>
        <source>ニムス</source>
        <translation>Nimus</translation>
    </message>
    <message>
        <source>髑髏(ｶﾞｼｬﾄﾞｸﾛ)</source>
        <translation>Skull (Gashadokuro)</translation>
    </message>
    <message>
        <source>エラーがおこりますた。</source>
        <translation>An error has occured.</translation>
    </message>
    <message>
        <source>%1は、死んでしまった。戦いは終った…。</source>
        <translation>%1 has fallen. The battle is over...</translation>
    </message>
    <message>
        <source>%1を倒した！</source>
        <translation>You defeated %1!</translation>
    </message>
    <message>
        <source>戦い方？簡単だ。配られた自分のカードを選び行動を選択しろ！<byte value="xd"/>
選び方は簡単だ。手前のカードをクリックだ！<byte value="xd"/>
<byte value="xd"/>
ルールの説明？ そんな生ぬるいものは無い。体で覚えな！</source>
        <translation>How to fight? Simple. Pick one of the cards you were dealt and choose your move!<byte value="xd"/>
How to pick? Simple. Click a card in front of you!<byte value="xd"/>
<byte value="xd"/>
The rules? Nothing so soft here. Learn them the hard way!</translation>
    </message>
    <message>
        <source>残り枚数</source>
        <translation>Deck</translation>
    </message>
    <message>
        <source>%1は効力数[%2]の[%3]を選択した。</source>
        <translation>%1 chose [%3] at power [%2].</translation>
    </message>
    <message>
        <source>%1は溜め込まれていた[%2]を解放した！ 効力数が%3になった！！</source>
        <translation>%1 unleashed the stored-up [%2]! Power rose to %3!!</translation>
    </message>
    <message>
        <source>%1は[%2]をしかけた！ %3に%4のダメージを与えた！！</source>
        <translation>%1 struck with [%2]! %3 took %4 damage!!</translation>
    </message>
    <message>
        <source>%1は攻撃に失敗した！%2||%3</source>
        <translation>%1&apos;s attack failed! %2||%3</translation>
    </message>
    <message>
        <source>%1は[%2]をしてきた！ %3は%4のダメージをくらった！！</source>
        <translation>%1 lashed out with [%2]! %3 took %4 damage!!</translation>
    </message>
    <message>
        <source>力は拮抗している！！ 引き分けた！！</source>
        <translation>Evenly matched!! It&apos;s a draw!!</translation>
    </message>
    <message>
        <source>%1は防御し相手の効力を打ち消した！</source>
        <translation>%1 guarded and cancelled out the foe&apos;s power!</translation>
    </message>
    <message>
        <source>%1の効力数を[%2]に減らした！</source>
        <translation>%1&apos;s power fell to [%2]!</translation>
    </message>
    <message>
        <source>%1は力を溜め込んだ！</source>
        <translation>%1 stored up power!</translation>
    </message>
    <message>
        <source>%1は力を溜め込もうとしたが溜め込みすぎて流れてしまった！</source>
        <translation>%1 tried to store up more power, but held too much and it all slipped away!</translation>
    </message>
    <message>
        <source>%1は手札を切りなおしに成功した！</source>
        <translation>%1 reshuffled the hand!</translation>
    </message>
    <message>
        <source>%1は手札を切りなおしに失敗した！</source>
        <translation>%1 failed to reshuffle the hand!</translation>
    </message>
    <message>
        <source>この戦闘は逃げることができません！</source>
        <translation>There is no running from this battle!</translation>
    </message>
    <message>
        <source>%1逃げるのに失敗した！</source>
        <translation>%1 failed to run away!</translation>
    </message>
</context>
<context>
    <name>frmBattle</name>
    <message>
        <source>Kardovan - カードバトル</source>
        <translation>Kardovan - Card Battle</translation>
    </message>
    <message>
        <source>顔</source>
        <translation>Face</translation>
    </message>
    <message>
        <source>たたかう</source>
        <translation>Fight</translation>
    </message>
    <message>
        <source>ぼうぎょ</source>
        <translation>Guard</translation>
    </message>
    <message>
        <source>ためる</source>
        <translation>Charge</translation>
    </message>
    <message>
        <source>デッキ</source>
        <translation>Deck</translation>
    </message>
    <message>
        <source>にげる</source>
        <translation>Run</translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>メイン窓</source>
        <translation>Main view</translation>
    </message>
    <message>
        <source>キャラクタ動作確認窓</source>
        <translation>Character check</translation>
    </message>
    <message>
        <source>初期描画用窓</source>
        <translation>Drawing surface</translation>
    </message>
    <message>
        <source>マップバックバッファ窓</source>
        <translation>Map back buffer</translation>
    </message>
    <message>
        <source>イベントバックバッファ窓</source>
        <translation>Event back buffer</translation>
    </message>
    <message>
        <source>シャドー25%窓</source>
        <translation>Shade 25%</translation>
    </message>
    <message>
        <source>シャドー50%窓</source>
        <translation>Shade 50%</translation>
    </message>
    <message>
        <source>シャドー75%窓</source>
        <translation>Shade 75%</translation>
    </message>
    <message>
        <source>キャラバックバッファ窓</source>
        <translation>Character back buffer</translation>
    </message>
    <message>
        <source>＞</source>
        <translation>&gt;</translation>
    </message>
    <message>
        <source>x,y座標</source>
        <translation>x, y position</translation>
    </message>
    <message>
        <source>レイヤ</source>
        <translation>Layers</translation>
    </message>
    <message>
        <source>マップ</source>
        <translation>Map</translation>
    </message>
    <message>
        <source>ベース</source>
        <translation>Base</translation>
    </message>
    <message>
        <source>キャラ</source>
        <translation>Character</translation>
    </message>
    <message>
        <source>ｱﾊﾞｰﾌﾞ</source>
        <translation>Above</translation>
    </message>
    <message>
        <source>Script inspector</source>
        <translation>Script inspector</translation>
    </message>
    <message>
        <source>Pause (F6)</source>
        <translation>Pause (F6)</translation>
    </message>
    <message>
        <source>Continue (F6)</source>
        <translation>Continue (F6)</translation>
    </message>
    <message>
        <source>Step frame</source>
        <translation>Step frame</translation>
    </message>
    <message>
        <source>Step command</source>
        <translation>Step command</translation>
    </message>
    <message>
        <source>Registers and locals</source>
        <translation>Registers and locals</translation>
    </message>
    <message>
        <source>Shared variables</source>
        <translation>Shared variables</translation>
    </message>
</context>
<context>
    <name>frmSelectChar</name>
    <message>
        <source>選択肢などない。迷いは振り切れ戦うのみ。</source>
        <translation>You have no choice. Cast off your doubts and fight.</translation>
    </message>
    <message>
        <source>じぶん</source>
        <translation>You</translation>
    </message>
    <message>
        <source>自分</source>
        <translation>Yourself</translation>
    </message>
    <message>
        <source>敵</source>
        <translation>Enemy</translation>
    </message>
    <message>
        <source>がしゃどくろ</source>
        <translation>Gashadokuro</translation>
    </message>
    <message>
        <source>戦う</source>
        <translation>Fight!</translation>
    </message>
</context>
<context>
    <name>report</name>
    <message>
        <source>Tekkelスクリプト実行エラー</source>
        <translation>Tekkel script error</translation>
    </message>
    <message>
        <source>エラーが発生しました。デバッグしますか？</source>
        <translation>An error occurred. Do you want to debug?</translation>
    </message>
    <message>
        <source>次の障害が発生しました。</source>
        <translation>The following fault occurred.</translation>
    </message>
    <message>
        <source>ｴﾗｰ番号</source>
        <translation>Error number</translation>
    </message>
    <message>
        <source>メモリが不足しています。</source>
        <translation>Out of memory.</translation>
    </message>
    <message>
        <source>プロシージャの呼び出し、または引数が不正です。</source>
        <translation>Invalid procedure call or argument.</translation>
    </message>
    <message>
        <source>オーバーフローしました。</source>
        <translation>Overflow.</translation>
    </message>
</context>
</TS>
