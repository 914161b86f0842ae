#pragma once

#include "core/calculate.h"

#include <map>
#include <string>
#include <vector>

// Records every operation a calculation performs on its page.
class FakePage : public dielektra::PageOps {
public:
    struct Box {
        std::string prompt;
        dielektra::MsgStyle style;
        std::string title;
    };

    std::map<std::string, std::string, std::less<>> texts; // fields and unit lists
    std::map<std::string, std::string, std::less<>> captions;
    std::map<std::string, bool, std::less<>> visible;
    std::vector<Box> boxes;
    std::vector<std::string> log; // "box", "set Text8=1", ... in call order

    std::string text(std::string_view field) const override { return at(field); }
    void setText(std::string_view field, const std::string &value) override
    {
        log.push_back("set " + std::string(field) + "=" + value);
        texts[std::string(field)] = value;
    }
    std::string unitText(std::string_view unitList) const override { return at(unitList); }
    void setCaption(std::string_view label, const std::string &caption) override
    {
        log.push_back("caption " + std::string(label));
        captions[std::string(label)] = caption;
    }
    void setVisible(std::string_view label, bool shown) override
    {
        log.push_back("visible " + std::string(label));
        visible[std::string(label)] = shown;
    }
    void setFocus(std::string_view control) override
    {
        log.push_back("focus " + std::string(control));
    }
    void msgBox(std::string_view prompt, dielektra::MsgStyle style, std::string_view title) override
    {
        log.emplace_back("box");
        boxes.push_back({std::string(prompt), style, std::string(title)});
    }

private:
    std::string at(std::string_view name) const
    {
        const auto found = texts.find(name);
        return found == texts.end() ? std::string() : found->second;
    }
};
