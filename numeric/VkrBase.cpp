#include "numeric/VkrBase.h"

std::string ComponentPrefix(std::string_view name)
{
    std::string s = "Component \"";
    s += name;
    s += "\": ";
    return s;
}

std::string ComponentMessage(const TComponent& component, std::string_view problem)
{
    std::string s = ComponentPrefix(component.Name());
    s += problem;
    return s;
}
