// 接苹果: apples fall from the tree; move the basket with the mouse or the
// arrow keys and catch them. Ten caught in a row make the apples faster.
// Built with Haxe into an ActionScript 3 movie.

import flash.display.Shape;
import flash.display.Sprite;
import flash.events.Event;
import flash.events.KeyboardEvent;
import flash.events.MouseEvent;
import flash.text.TextField;
import flash.text.TextFormat;
import flash.text.TextFormatAlign;

class CatchApples extends Sprite {
    static inline var W = 480;
    static inline var H = 400;

    var basket:Shape;
    var apples:Array<Shape> = [];
    var score = 0;
    var missed = 0;
    var speed = 3.0;
    var left = false;
    var right = false;
    var tick = 0;
    var board:TextField;

    static function main() {
        flash.Lib.current.addChild(new CatchApples());
    }

    public function new() {
        super();
        var sky = new Shape();
        sky.graphics.beginFill(0xBFE6FF);
        sky.graphics.drawRect(0, 0, W, H);
        sky.graphics.beginFill(0x6DBE45);
        sky.graphics.drawRect(0, H - 40, W, 40);
        sky.graphics.beginFill(0x2F8F3A);
        sky.graphics.drawEllipse(-60, -80, W + 120, 150);
        addChild(sky);

        basket = new Shape();
        basket.graphics.lineStyle(3, 0x7A4A12);
        basket.graphics.beginFill(0xC98A3A);
        basket.graphics.moveTo(-45, 0);
        basket.graphics.lineTo(45, 0);
        basket.graphics.lineTo(32, 34);
        basket.graphics.lineTo(-32, 34);
        basket.graphics.lineTo(-45, 0);
        basket.x = W / 2;
        basket.y = H - 70;
        addChild(basket);

        board = new TextField();
        board.width = W;
        board.height = 40;
        board.y = 4;
        board.selectable = false;
        var format = new TextFormat("_sans", 24, 0x8A1010, true);
        format.align = TextFormatAlign.CENTER;
        board.defaultTextFormat = format;
        addChild(board);
        showScore();

        addEventListener(Event.ADDED_TO_STAGE, function(_) {
            stage.addEventListener(MouseEvent.MOUSE_MOVE, function(e:MouseEvent) basket.x = clamp(e.stageX));
            stage.addEventListener(KeyboardEvent.KEY_DOWN, function(e:KeyboardEvent) setKey(e.keyCode, true));
            stage.addEventListener(KeyboardEvent.KEY_UP, function(e:KeyboardEvent) setKey(e.keyCode, false));
        });
        addEventListener(Event.ENTER_FRAME, step);
    }

    function setKey(code:UInt, down:Bool) {
        if (code == 37) left = down;
        if (code == 39) right = down;
    }

    function clamp(x:Float):Float {
        return Math.max(45, Math.min(W - 45, x));
    }

    function showScore() {
        board.text = "接到 " + score + " 个苹果    掉了 " + missed + " 个";
    }

    function newApple() {
        var apple = new Shape();
        apple.graphics.beginFill(0xD62020);
        apple.graphics.drawCircle(0, 0, 14);
        apple.graphics.beginFill(0x3A7D1E);
        apple.graphics.drawEllipse(2, -22, 10, 7);
        apple.x = 30 + Math.random() * (W - 60);
        apple.y = 40;
        addChild(apple);
        apples.push(apple);
    }

    function step(_) {
        if (left) basket.x = clamp(basket.x - 8);
        if (right) basket.x = clamp(basket.x + 8);
        if (++tick % 40 == 0) newApple();
        for (apple in apples.copy()) {
            apple.y += speed;
            var caught = apple.y > basket.y - 10 && apple.y < basket.y + 20 && Math.abs(apple.x - basket.x) < 50;
            if (caught || apple.y > H - 30) {
                if (caught) {
                    score++;
                    if (score % 10 == 0) speed += 1;
                } else {
                    missed++;
                }
                removeChild(apple);
                apples.remove(apple);
                showScore();
            }
        }
    }
}
