// A host of the GTK layer: the palette as CSS needs no display.
#include <vexloweb/constants/colors.hpp>
#include <vexloweb/gtk.hpp>

#include <iostream>

int main() { std::cout << vexloweb::gtk::css(vexloweb::Colors::primaryColor()) << '\n'; }
