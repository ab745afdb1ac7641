// Text drawn from a one-row strip of equal glyph cells.
#pragma once

class cSprite;

class cBitmapFont {
public:
    cBitmapFont();
    ~cBitmapFont();
    cBitmapFont(const cBitmapFont&) = delete;
    cBitmapFont& operator=(const cBitmapFont&) = delete;

    int load(const char* path, const char* glyphs);
    void setScale(double scale);
    void setAlign(int alignX, int alignY);
    // Width of the widest line and the distance from first to last line.
    void measure(const char* text, float* width, float* height) const;
    void drawText(const char* text, float x, float y, float z);

    const char* glyphs;
    cSprite* glyphSprite;
    float glyphWidth;
    float glyphHeight;
    double scale;
    int alignX;
    int alignY;
};

// The game's one font picture and the order of its glyphs.
extern const char* const kFontPicture;
extern const char* const kFontGlyphs;
