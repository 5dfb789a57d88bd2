// The default skin's design as read from skins/default/skin.conf.
#pragma once

#include <map>
#include <string>
#include <vector>

struct Colour {
    double r = 0, g = 0, b = 0;
};

struct ButtonDesign {
    std::string name;   // the control's text, which names the section
    std::string label;  // what the face shows
    int x = 0;
    int width = 0;
    bool primary = false;
};

class Design {
public:
    // Throws std::runtime_error naming the fault.
    static Design Read(const std::string& path);

    int Int(const std::string& key) const;
    Colour Rgb(const std::string& key) const;
    std::string Text(const std::string& key) const;
    std::vector<ButtonDesign> Buttons() const;

private:
    std::map<std::string, std::string> values_;
};
